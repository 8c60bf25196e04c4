// Scene 2: picture 2 slides in from the right along the top edge for half a
// second, then picture 3 is stamped at four places, one every 600 ms or so,
// each stamp staying. 600 ms after the fourth the sample starts and scene 3
// takes over.
#include "scenes.h"

#include "runtime/globals.h"
#include "runtime/runtime.h"

namespace {

// Where picture 3 is stamped, one place per step.
const Sint16 leima_x[4] = {490, 334, 325, 550};
const Sint16 leima_y[4] = {0, 40, 1, 300};

void leimaa(int askel)
{
    if (kuvat[3] == NULL)
        return;
    temp_alue.x = leima_x[askel];
    temp_alue.y = leima_y[askel];
    SDL_BlitSurface(kuvat[3], NULL, screen, &temp_alue);
}

// More than 600 ms since the current step began, read afresh.
bool askel_ohi()
{
    return SDL_GetTicks() - (Uint32)tempora[1] > 600;
}

}  // namespace

void skene2()
{
    SDL_Surface *kuva = kuvat[2];
    if (kuva != NULL) {
        // The 100 columns right of the picture lose what it painted there
        // at its earlier, further-right positions.
        temp_alue.x = (Sint16)(temp2 + kuva->w);
        temp_alue.y = 0;
        temp_alue.w = 100;
        temp_alue.h = (Uint16)kuva->h;
        SDL_FillRect(screen, &temp_alue, 0);

        temp_alue.x = (Sint16)temp2;
        temp_alue.y = 0;
        SDL_BlitSurface(kuva, NULL, screen, &temp_alue);
    }

    if (kello() <= 499) {
        // Slide: 0.7 pixels a millisecond from the right edge; the position
        // is drawn by the next pass. The step clock restarts every pass, so
        // the first step begins where the slide ends.
        Uint32 e = kello();
        temp2 = (int)(640.0 - 0.7 * e);
        tempora[0] = 0;
        tempora[1] = (int)SDL_GetTicks();
        return;
    }

    // Steps: every stamp reached so far, in order. A step that advances has
    // its new stamp drawn by the next block in this same pass, whose own
    // test then fails on the fresh time stamp: at most one step a pass.
    for (int askel = 0; askel < 4 && tempora[0] >= askel; askel++) {
        leimaa(askel);
        if (askel_ohi() && tempora[0] == askel) {
            if (askel < 3) {
                tempora[0] = askel + 1;
                tempora[1] = (int)SDL_GetTicks();
            } else {
                Mix_PlayChannelTimed(-1, valahdys, 0, -1);
                tulosta_aika();
                temp2 = 0;
                temp3 = SDL_GetTicks();
                skene = skene + 1;
            }
        }
    }
}
