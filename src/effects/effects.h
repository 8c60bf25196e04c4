// The software drawing primitives the scenes share.
#pragma once

#include <SDL.h>

// Fills the whole screen black; leaves temp_alue as the full-screen rectangle.
void clean_screen();
// Fills the whole screen with the raw pixel value 0xffffff (white).
void flash();
// The pixel dissolve: blackens every third column and every second row of the
// rectangle [left, right) x [top, bottom) of the surface, shifted by offsetx and
// wrapped around the surface; offsetx follows the tick count after each pixel.
void fade(SDL_Surface *surface, int left, int top, int right, int bottom);
// Adds an inverse-distance glow along the line, never drawing its end point,
// clipped to columns 1..639 and rows 1..479 of the screen.
void draw_line(int x0, int y0, int x1, int y1);
// Fills the screen with the picture rotated by angle and magnified by zoom
// about the centres of both; clear != 0 blackens what falls outside it.
void rotozoom(SDL_Surface *picture, float zoom, float angle, int clear);
// The rotozoomer's per-column source step (du, dv) in 1/256 picture pixels
// for a zoom and an angle; false when the steps have no integer value (a zoom
// of 0, or one so small that they leave the int range).
bool rotozoom_steps(float zoom, float angle, int *du, int *dv);
