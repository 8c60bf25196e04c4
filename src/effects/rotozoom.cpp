// The rotate-and-zoom effect.
#include "effects.h"

void rotozoom(SDL_Surface *picture, float zoom, float angle, int clear)
{
    // Not yet drawn.
    (void)picture;
    (void)zoom;
    (void)angle;
    (void)clear;
}
