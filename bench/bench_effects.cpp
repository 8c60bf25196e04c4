// Timings of the pixel effects on a headless 640x480x32 screen: the
// rotozoomer at the zooms the scene passes through, a plain full-screen blit
// as the yardstick, one pass of the starburst's 80 lines, and SDL_gfx's
// rotozoomSurface producing a comparable frame.
//
//   demo_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <benchmark/benchmark.h>

#include <SDL.h>
#ifdef HAVE_SDL_GFX
#include <SDL_rotozoom.h>
#endif

#include "effects/effects.h"
#include "runtime/globals.h"

// Whether the rotozoomer copies in AVX2 chunks (where the CPU has them).
extern bool rotozoom_avx2;

namespace {

SDL_Surface *kuva;  // a 640x480 picture in the screen's format

void valmistele()
{
    if (screen != NULL)
        return;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_Init(SDL_INIT_VIDEO);
    screen = SDL_SetVideoMode(640, 480, 32, 0);
    if (screen == NULL) {
        std::fprintf(stderr, "no headless screen: %s\n", SDL_GetError());
        std::exit(1);
    }
    const SDL_PixelFormat *f = screen->format;
    kuva = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 32, f->Rmask, f->Gmask, f->Bmask, 0);
    // Something that is not one colour: gradients and a checker.
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
            *(Uint32 *)((Uint8 *)kuva->pixels + y * kuva->pitch + 4 * x) =
                SDL_MapRGB(kuva->format, (Uint8)x, (Uint8)y, ((x / 16 + y / 16) & 1) ? 255 : 0);
}

// sse2: with the copy used on CPUs without AVX2.
void BM_Rotozoom(benchmark::State &state, float zoom, float angle, bool sse2)
{
    valmistele();
    const bool avx2 = rotozoom_avx2;
    if (sse2)
        rotozoom_avx2 = false;
    for (auto _ : state) {
        rotozoom(kuva, zoom, angle, 1);
        benchmark::ClobberMemory();
    }
    rotozoom_avx2 = avx2;
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}

void BM_FullScreenBlit(benchmark::State &state)
{
    valmistele();
    for (auto _ : state) {
        SDL_Rect kohta = {0, 0, 0, 0};
        SDL_BlitSurface(kuva, NULL, screen, &kohta);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}

// One pass of the starburst: 80 lines of 700 steps fanned once round.
void BM_StarburstPass(benchmark::State &state)
{
    valmistele();
    SDL_FillRect(screen, NULL, 0);
    for (auto _ : state) {
        for (int i = 0; i < 80; i++) {
            const double a = (i / 80.0) * 3.14;
            const float fx = (float)(std::cos(2 * a) * 700.0);
            const float fy = (float)(std::sin(2 * a) * 700.0);
            draw_line(470, 200, 470 + (int)fx, 200 + (int)fy);
        }
        benchmark::ClobberMemory();
    }
}

#ifdef HAVE_SDL_GFX
// The same frame through SDL_gfx: only the part of the picture that reaches
// the screen is rotated and zoomed (cut out once, outside the timing), then
// the screen is cleared and the result blitted centred on it. The result is
// a new surface each frame, as the library makes it.
void BM_SdlGfxRotozoom(benchmark::State &state, float zoom, float angle)
{
    valmistele();
    const double c = std::fabs(std::cos(angle)), s = std::fabs(std::sin(angle));
    int w = (int)std::ceil((640 * c + 480 * s) / zoom) + 2;
    int h = (int)std::ceil((640 * s + 480 * c) / zoom) + 2;
    if (w > 640)
        w = 640;
    if (h > 480)
        h = 480;
    const SDL_PixelFormat *f = kuva->format;
    SDL_Surface *osa = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, f->Rmask, f->Gmask, f->Bmask, 0);
    SDL_Rect lahde = {(Sint16)(320 - w / 2), (Sint16)(240 - h / 2), (Uint16)w, (Uint16)h};
    SDL_BlitSurface(kuva, &lahde, osa, NULL);

    for (auto _ : state) {
        // Nearest neighbour, like ours; SDL_gfx turns counter-clockwise.
        SDL_Surface *tulos = rotozoomSurface(osa, -angle * 180.0 / 3.14159265358979323846, zoom, SMOOTHING_OFF);
        // Its result comes colour-keyed and with SDL_SRCALPHA set; a plain
        // copy is what the frame needs, and much faster.
        SDL_SetColorKey(tulos, 0, 0);
        SDL_SetAlpha(tulos, 0, SDL_ALPHA_OPAQUE);
        SDL_FillRect(screen, NULL, 0);
        SDL_Rect kohta = {(Sint16)(320 - tulos->w / 2), (Sint16)(240 - tulos->h / 2), 0, 0};
        SDL_BlitSurface(tulos, NULL, screen, &kohta);
        SDL_FreeSurface(tulos);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 640 * 480);
    SDL_FreeSurface(osa);
}
#endif

}  // namespace

// Angles: none (most of the scene), 0.03 (the widest rocking at the start)
// and 0.1 (the strongest shake near the end).
BENCHMARK(BM_FullScreenBlit);
BENCHMARK_CAPTURE(BM_Rotozoom, zoom4_angle0, 4.0f, 0.0f, false);
BENCHMARK_CAPTURE(BM_Rotozoom, zoom4_angle0.03, 4.0f, 0.03f, false);
BENCHMARK_CAPTURE(BM_Rotozoom, zoom4_angle0.1, 4.0f, 0.1f, false);
BENCHMARK_CAPTURE(BM_Rotozoom, zoom1.5_angle0, 1.5f, 0.0f, false);
BENCHMARK_CAPTURE(BM_Rotozoom, zoom1.5_angle0.03, 1.5f, 0.03f, false);
BENCHMARK_CAPTURE(BM_Rotozoom, zoom1.5_angle0.1, 1.5f, 0.1f, false);
BENCHMARK_CAPTURE(BM_Rotozoom, zoom0.5_angle0, 0.5f, 0.0f, false);
BENCHMARK_CAPTURE(BM_Rotozoom, zoom0.5_angle0.03, 0.5f, 0.03f, false);
BENCHMARK_CAPTURE(BM_Rotozoom, zoom0.5_angle0.1, 0.5f, 0.1f, false);
BENCHMARK_CAPTURE(BM_Rotozoom, sse2_zoom4_angle0.1, 4.0f, 0.1f, true);
BENCHMARK_CAPTURE(BM_Rotozoom, sse2_zoom1.5_angle0.1, 1.5f, 0.1f, true);
BENCHMARK_CAPTURE(BM_Rotozoom, sse2_zoom0.5_angle0.1, 0.5f, 0.1f, true);
#ifdef HAVE_SDL_GFX
BENCHMARK_CAPTURE(BM_SdlGfxRotozoom, zoom4_angle0, 4.0f, 0.0f);
BENCHMARK_CAPTURE(BM_SdlGfxRotozoom, zoom4_angle0.03, 4.0f, 0.03f);
BENCHMARK_CAPTURE(BM_SdlGfxRotozoom, zoom4_angle0.1, 4.0f, 0.1f);
BENCHMARK_CAPTURE(BM_SdlGfxRotozoom, zoom1.5_angle0, 1.5f, 0.0f);
BENCHMARK_CAPTURE(BM_SdlGfxRotozoom, zoom1.5_angle0.03, 1.5f, 0.03f);
BENCHMARK_CAPTURE(BM_SdlGfxRotozoom, zoom1.5_angle0.1, 1.5f, 0.1f);
BENCHMARK_CAPTURE(BM_SdlGfxRotozoom, zoom0.5_angle0, 0.5f, 0.0f);
BENCHMARK_CAPTURE(BM_SdlGfxRotozoom, zoom0.5_angle0.03, 0.5f, 0.03f);
BENCHMARK_CAPTURE(BM_SdlGfxRotozoom, zoom0.5_angle0.1, 0.5f, 0.1f);
#endif
BENCHMARK(BM_StarburstPass);

BENCHMARK_MAIN();
