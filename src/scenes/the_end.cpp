// Scene 7: the end title. Every pass starts from black: the title at
// (50, 50), a picture leaping along an arc from the bottom-right corner to the
// bottom-left corner in 1.28 s, and a streak of blood copies trailing behind
// and below it. The scene never hands over; the run ends around it.
#include "scenes.h"

#include <cmath>

#include "effects/effects.h"
#include "runtime/globals.h"
#include "runtime/runtime.h"

namespace {

// sin(h / D) makes a half wave, from 0 up to 1 and back to sin(3.14), as h
// runs from 0 to 640.
const double D = 640 / 3.14;

// Half the scene clock, from a fresh reading each time: the streak reads it
// anew for every coordinate of every copy.
Uint32 h()
{
    return kello() >> 1;
}

void piirra(SDL_Surface *kuva)
{
    if (kuva != NULL)
        SDL_BlitSurface(kuva, NULL, screen, &temp_alue);
}

}  // namespace

void the_end()
{
    clean_screen();

    temp_alue.x = 50;
    temp_alue.y = 50;
    piirra(kuvat[9]);

    // The leap: starts at (640, 480) just outside the bottom-right corner,
    // peaks at (320, 80) after 640 ms and lands at (0, 479) after 1280 ms.
    temp_alue.x = (Sint16)(640u - h());
    temp_alue.y = (Sint16)(int)(480 - 400 * std::sin(h() / D));
    piirra(kuvat[10]);

    // The streak: copies off pixels right of the leaping picture and about
    // (1 + sin) * off below it, 5 pixels apart, from the farthest to the
    // nearest so that nearer copies cover farther ones. Its near end falls
    // back by 5 pixels every 100 ms.
    for (int off = 640; h() / 10 + 20 < (Uint32)off; off -= 5) {
        temp_alue.x = (Sint16)((Uint32)off + 640u - h());
        const double a = 480 - 400 * std::sin(h() / D);
        temp_alue.y = (Sint16)(int)((1 + std::sin(h() / D)) * off + a);
        piirra(kuvat[11]);
    }
}
