// Additive glowing lines.
#include "effects.h"

void draw_line(int x0, int y0, int x1, int y1)
{
    // Not yet drawn.
    (void)x0;
    (void)y0;
    (void)x1;
    (void)y1;
}
