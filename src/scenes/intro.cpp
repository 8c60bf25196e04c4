// Scene 0: the logo, centred on black, crumbles into black from the second
// second on; after 2.5 s the first sample starts and scene 1 takes over.
#include "scenes.h"

#include "effects/effects.h"
#include "runtime/globals.h"
#include "runtime/runtime.h"

void intro()
{
    SDL_Surface *logo = kuvat[0];
    if (logo != NULL) {
        // Centred: for an even size the two middle columns fall on 319 and 320.
        temp_alue.x = (Sint16)(320 - logo->w / 2);
        temp_alue.y = (Sint16)(240 - logo->h / 2);
        SDL_BlitSurface(logo, NULL, screen, &temp_alue);

        // The dissolve eats the picture's own pixels; the next blit shows it.
        if (kello() > 1000)
            fade(logo, 0, 0, logo->w, logo->h);
    }

    if (kello() > 2500) {
        Mix_PlayChannelTimed(-1, vorsenna, 0, -1);
        tulosta_aika();
        temp3 = SDL_GetTicks();
        skene = skene + 1;
    }
}
