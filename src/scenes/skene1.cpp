// Scene 1: picture 1 enters from the left edge and drifts right, one pixel
// every 25 ms, while it bobs on a sine wave about the middle row. A black
// band above and one below wipe out where it stood before. After 3.5 s the
// scene ends on the first pass that finds the picture just above the middle
// row, and leaves 630 in temp2 for scene 2's slide.
#include "scenes.h"

#include <cmath>
#include <cstdlib>

#include "runtime/globals.h"
#include "runtime/runtime.h"

void skene1()
{
    // The wave follows the absolute clock, not the scene clock: it steps once
    // every 50 ms and one full wave takes about 3.14 s.
    Uint32 q = SDL_GetTicks() / 50;
    temp = (int)(std::sin((double)q / 10.0) * 50.0);

    SDL_Surface *kuva = kuvat[1];
    if (kuva != NULL) {
        int half = kuva->h / 2;
        int reach = std::abs(temp);

        // temp2 still holds the drift of the previous pass: 0 on the first.
        temp_alue.x = (Sint16)(temp2 - 100);
        temp_alue.y = (Sint16)(240 + temp - half);
        SDL_BlitSurface(kuva, NULL, screen, &temp_alue);

        // Above: the |temp| + 20 rows right over the picture's top edge.
        temp_alue.x = (Sint16)(temp2 - 100);
        temp_alue.y = (Sint16)(220 + temp - reach - half);
        temp_alue.w = (Uint16)kuva->w;
        temp_alue.h = (Uint16)(reach + 20);
        SDL_FillRect(screen, &temp_alue, 0);

        // Below: |temp| rows from half a height under the picture's middle
        // row, just under its bottom edge for an even height and on its last
        // row for an odd one. Empty at temp 0.
        temp_alue.x = (Sint16)(temp2 - 100);
        temp_alue.y = (Sint16)(240 + temp + half);
        temp_alue.w = (Uint16)kuva->w;
        temp_alue.h = (Uint16)reach;
        SDL_FillRect(screen, &temp_alue, 0);
    }

    // The drift for the next pass's drawing.
    temp2 = (int)(kello() / 25);

    if (kello() > 3500 && temp > -10 && temp < 0) {
        tulosta_aika();
        temp2 = 630;  // where scene 2's picture first stands
        skene = skene + 1;
        temp3 = SDL_GetTicks();
    }
}
