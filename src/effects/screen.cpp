// Whole-screen fills and the pixel dissolve.
#include "effects.h"

#include "runtime/globals.h"

void clean_screen()
{
    temp_alue.x = 0;
    temp_alue.y = 0;
    temp_alue.w = 640;
    temp_alue.h = 480;
    SDL_FillRect(screen, &temp_alue, 0);
}

void flash()
{
    temp_alue.x = 0;
    temp_alue.y = 0;
    temp_alue.w = (Uint16)screen->w;
    temp_alue.h = (Uint16)screen->h;
    // The raw word: white in the display's 32-bit format, not mapped.
    SDL_FillRect(screen, &temp_alue, 0xffffff);
}

void fade(SDL_Surface *surface, int left, int top, int right, int bottom)
{
    // Only 32-bit surfaces with pixels to dissolve; anything else is left alone.
    if (surface == NULL || surface->w <= 0 || surface->h <= 0 || surface->format->BytesPerPixel != 4)
        return;
    if (right <= left || bottom <= top)
        return;

    bool lukittu = false;
    if (SDL_MUSTLOCK(surface)) {
        if (SDL_LockSurface(surface) != 0)
            return;
        lukittu = true;
    }

    Uint8 *pikselit = (Uint8 *)surface->pixels;
    const int leveys = surface->w;
    const int korkeus = surface->h;
    for (int x = left; x < right; x += 3) {
        for (int y = top; y < bottom; y += 2) {
            // The offset shifts the lattice right and down and wraps it around
            // the surface; the remainder is kept non-negative so that every
            // write lands inside the surface even for negative corners.
            int sarake = (x + offsetx) % leveys;
            int rivi = (y + offsetx) % korkeus;
            if (sarake < 0)
                sarake += leveys;
            if (rivi < 0)
                rivi += korkeus;
            *(Uint32 *)(pikselit + rivi * surface->pitch + 4 * sarake) = 0;
            offsetx = (int)((SDL_GetTicks() / 100) % 1000);
        }
    }

    if (lukittu)
        SDL_UnlockSurface(surface);
}
