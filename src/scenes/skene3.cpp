// Scene 3: a starburst of 80 additive glowing lines from (470, 200), added
// onto whatever the screen holds, pass after pass. Their directions follow
// the absolute clock and jump every 25 ms. After a second of scene time the
// screen flashes white; at 1200 ms it turns black and scene 4 takes over.
#include "scenes.h"

#include <cmath>

#include "effects/effects.h"
#include "runtime/globals.h"
#include "runtime/runtime.h"

namespace {

// The direction multiplier: an even number from 0 to 1998 that changes every
// 25 ms of the absolute clock.
Uint32 kerroin()
{
    return 2 * ((SDL_GetTicks() / 25) % 1000);
}

}  // namespace

void skene3()
{
    // The lines write pixel words directly: lock once around the whole burst
    // where the display needs it, and draw nothing if it cannot be locked.
    const bool lukitaan = SDL_MUSTLOCK(screen);
    const bool piirretaan = !lukitaan || SDL_LockSurface(screen) == 0;
    for (int i = 0; i < 80; i++) {
        const double a = (i / 80.0) * 3.14;
        // x and y each take their own reading: across a 25 ms boundary the
        // two may turn by different multipliers.
        const Uint32 kx = kerroin();
        const float fx = (float)(std::cos(kx * a) * 700.0);
        const Uint32 ky = kerroin();
        const float fy = (float)(std::sin(ky * a) * 700.0);
        if (piirretaan)
            draw_line(470, 200, 470 + (int)fx, 200 + (int)fy);
    }
    if (lukitaan && piirretaan)
        SDL_UnlockSurface(screen);

    // The white flash, strictly between 1000 and 1200 ms.
    if (kello() > 1000) {
        if (kello() < 1200) {
            flash();
            return;
        }
    }
    if (kello() < 1200)
        return;

    // Time is up: the screen turns black and the rotozoomer comes next.
    tulosta_aika();
    skene = skene + 1;
    temp2 = 0;
    temp3 = SDL_GetTicks();
    temp_alue.x = 0;
    temp_alue.y = 0;
    temp_alue.w = (Uint16)screen->w;
    temp_alue.h = (Uint16)screen->h;
    SDL_FillRect(screen, &temp_alue, 0);
}
