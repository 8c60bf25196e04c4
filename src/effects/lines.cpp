// Additive glowing lines.
//
// A line has no colour of its own: every pixel it covers gets an integer
// added to its whole 32-bit word, and that integer falls off as the inverse
// of the distance from a reference point. Carries run from one colour byte
// into the next and sums past 2^32 - 1 wrap around: that colour noise is the
// look of the starburst.
#include "effects.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "runtime/globals.h"

namespace {

// The window the glow may touch, fixed for the 640 x 480 display: column 0
// and row 0 are never written.
const int VASEN = 1, OIKEA = 639, YLA = 1, ALA = 479;

// The glow added at squared distance d2 (never 0 inside the window).
Uint32 hehku(int64_t d2)
{
    return (Uint32)(int32_t)(20.0 / std::sqrt((double)d2) * 366666.0);
}

}  // namespace

void draw_line(int x0, int y0, int x1, int y1)
{
    if (screen == NULL || screen->pixels == NULL || screen->format->BytesPerPixel != 4)
        return;

    // The working state is 64-bit so that end points anywhere in the int
    // range cannot overflow; within the screen's range it is plain int math.
    int64_t dx = std::llabs((int64_t)x1 - x0);
    int64_t dy = std::llabs((int64_t)y1 - y0);
    // Ties go to y.
    const bool x_paa = dx > dy;
    int64_t paa0 = x_paa ? x0 : y0, sivu0 = x_paa ? y0 : x0;
    int64_t paa1 = x_paa ? x1 : y1, sivu1 = x_paa ? y1 : x1;
    // Walk towards increasing major coordinate, whichever end came first.
    if (paa1 < paa0) {
        int64_t t = paa0;
        paa0 = paa1;
        paa1 = t;
        t = sivu0;
        sivu0 = sivu1;
        sivu1 = t;
    }

    const int64_t pituus = paa1 - paa0;
    const int64_t nousu = std::llabs(sivu1 - sivu0);
    int64_t virhe = pituus / 2;
    int64_t sivu = sivu0;
    const int64_t askel = sivu0 < sivu1 ? 1 : -1;

    // The fixed window, and never past the surface itself.
    const int oikea = screen->w - 1 < OIKEA ? screen->w - 1 : OIKEA;
    const int ala = screen->h - 1 < ALA ? screen->h - 1 : ALA;
    const int64_t paa_max = x_paa ? oikea : ala;
    const int64_t paa_min = x_paa ? VASEN : YLA;
    const int64_t sivu_min = x_paa ? YLA : VASEN;
    const int64_t sivu_max = x_paa ? ala : oikea;

    Uint8 *pikselit = (Uint8 *)screen->pixels;
    const int64_t pitch = screen->pitch;

    // The end point's own major position is never drawn. Past the window's
    // far edge nothing more can be drawn, so the walk stops there.
    for (int64_t paa = paa0; paa < paa1 && paa <= paa_max; paa++) {
        if (paa >= paa_min && sivu >= sivu_min && sivu <= sivu_max) {
            // The second term is the minor coordinate itself, not its
            // distance from the start: the glow's reference point is on
            // row 0 or column 0.
            const int64_t d = paa - paa0;
            const int64_t x = x_paa ? paa : sivu;
            const int64_t y = x_paa ? sivu : paa;
            Uint32 *p = (Uint32 *)(pikselit + y * pitch + 4 * x);
            *p = *p + hehku(d * d + sivu * sivu);
        }
        virhe -= nousu;
        if (virhe < 0) {
            sivu += askel;
            virhe += pituus;
        }
    }
}
