// The rotate-and-zoom effect.
//
// Every screen pixel takes the nearest picture pixel seen through a rotation
// and a uniform zoom about the centres of the screen and of the picture. The
// source position (u, v) is 8.8 fixed point: one screen pixel to the right
// moves it by (du, dv), one screen row down by (-dv, du). Row starts are set
// up from the screen's centre with halvings that round toward zero, and each
// row start is stepped before its row is drawn, so row 0 already has one row
// step in it; screen pixel (320, 239) thus samples the picture's centre.
//
// The pixels are exactly those of a walk that tests and copies pixel after
// pixel; the speed comes from the shape of the loops:
// - u and v are linear along a row, so the columns whose source position
//   lies in the picture form one span, found once per row by division.
//   Outside it the row is cleared (or left) in one go; inside it no pixel
//   needs a test.
// - Along a span the column of pixel i is (u + i du) >> 8. Cut the span into
//   chunks: the columns of a chunk's pixels relative to its first pixel's
//   column depend only on the fraction u & 255, so one small table per call,
//   of 256 fractions by the chunk's pixels, gives every chunk its columns.
//   The same holds for rows and v & 255.
// - While the picture is turned only slightly, v passes into the next
//   picture row only every 256 / |dv| columns, so the span falls into runs
//   that each read one picture row; with SSE2 a run is copied in chunks of
//   16 (a table read and a picture read per pixel, one screen write per 4).
// - Where the CPU has AVX2 and the picture is magnified (0 <= du <= 256), a
//   chunk of 8 pixels reads at most 8 neighbouring pixels of a picture row,
//   and with |dv| <= 36 at most two neighbouring rows: two loads, two
//   permutations by the column table, one blend by the row table, one store.
//   Turned further or shrunk, 8 pixels' byte offsets in the picture are
//   worked out side by side and their words gathered.
// - Without any turn U stays put from row to row, and rows that read the
//   same picture row are equal: such a row copies the row above it.
#include "effects.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#define ROTOZOOM_AVX2 1
#include <immintrin.h>
#endif

#include "runtime/globals.h"

namespace {

// The fractions of a picture pixel, and the pixels of a chunk (PALA with
// SSE2, PALA8 with AVX2).
const int MURTO = 256;
const int PALA = 16;
const int PALA8 = 8;

// Below KAPEA_SSE2 a span is copied in runs of chunks that each read one
// picture row; below KAPEA in runs of fours. Shorter runs cost more than
// they save: then the span goes pixel by pixel.
const int KAPEA = 32;
const int KAPEA_SSE2 = 16;
// Up to this |du| the chunk table's columns fit its 16-bit entries.
const int LEVEA = 1 << 16;
// Up to this |dv| a chunk of 8 reads at most two picture rows.
const int KAPEA_AVX2 = 36;
// Up to this |dv| runs in one row are 32 pixels or longer.
const int HARVA = 8;

// Whether the double truncates to a value of int.
bool mahtuu_inttiin(double x)
{
    return x > -2147483649.0 && x < 2147483648.0;
}

// n / 2 rounding toward zero (-7 gives -3).
int64_t puolet(int64_t n)
{
    return n / 2;
}

int64_t alas(int64_t n, int64_t d)
{
    int64_t q = n / d;
    if (n % d != 0 && ((n % d < 0) != (d < 0)))
        q--;
    return q;
}

int64_t ylos(int64_t n, int64_t d)
{
    int64_t q = n / d;
    if (n % d != 0 && ((n % d < 0) == (d < 0)))
        q++;
    return q;
}

// floor(n / 256) for |n| below 2^24, by a shift of a positive number.
int32_t murtoina(int32_t n)
{
    const int32_t nosto = 1 << 24;
    return ((n + nosto) >> 8) - (nosto >> 8);
}

// Narrows the column span [lo, hi) to the columns x at which the source
// coordinate s + x * d lies within 0 .. max.
void rajaa(int64_t s, int64_t d, int64_t max, int64_t &lo, int64_t &hi)
{
    int64_t eka, vika;  // first and last column inside
    if (d == 0) {
        if (s >= 0 && s <= max)
            return;
        eka = 0;
        vika = -1;
    } else if (d > 0) {
        eka = ylos(-s, d);
        vika = alas(max - s, d);
    } else {
        eka = ylos(max - s, d);
        vika = alas(-s, d);
    }
    if (eka > lo)
        lo = eka;
    if (vika + 1 < hi)
        hi = vika + 1;
}

void nollaa(Uint32 *rivi, int64_t alku, int64_t loppu)
{
    if (loppu > alku)
        std::memset(rivi + alku, 0, (size_t)(loppu - alku) * 4);
}

// Pixel by pixel, with both coordinates stepping: the plain walk.
void yksitellen(Uint32 *kohde, const Uint8 *lahde, size_t lahde_pitch, uint32_t u, uint32_t v, uint32_t du,
                uint32_t dv, int64_t n)
{
    for (; n > 0; n--, kohde++, u += du, v += dv)
        *kohde = *(const Uint32 *)(lahde + (size_t)(v >> 8) * lahde_pitch + 4 * (size_t)(u >> 8));
}

// Copies n pixels from one picture row: pixel i takes column (u + i du) >> 8.
void rivilta(Uint32 *kohde, const Uint32 *lahde_rivi, uint32_t u, uint32_t du, int64_t n)
{
    for (; n > 0; n--, kohde++, u += du)
        *kohde = lahde_rivi[u >> 8];
}

// Four words to the screen at once where SSE2 allows it.
inline void neljaan(Uint32 *kohde, Uint32 a, Uint32 b, Uint32 c, Uint32 d)
{
#ifdef __SSE2__
    const __m128i ab = _mm_unpacklo_epi32(_mm_cvtsi32_si128((int)a), _mm_cvtsi32_si128((int)b));
    const __m128i cd = _mm_unpacklo_epi32(_mm_cvtsi32_si128((int)c), _mm_cvtsi32_si128((int)d));
    _mm_storeu_si128((__m128i *)kohde, _mm_unpacklo_epi64(ab, cd));
#else
    kohde[0] = a;
    kohde[1] = b;
    kohde[2] = c;
    kohde[3] = d;
#endif
}

// Columns of a chunk of 16 relative to its first, by the fraction f of the
// first pixel's u: floor((f + i du) / 256).
struct Palataulu {
    int16_t sarake[MURTO][PALA];

    void tayta(int du)
    {
        for (int f = 0; f < MURTO; f++)
            for (int i = 0; i < PALA; i++)
                sarake[f][i] = (int16_t)murtoina(f + i * du);
    }
};

// Copies one chunk of 16 pixels from one picture row.
inline void palalta(Uint32 *kohde, const Uint32 *lahde_rivi, uint32_t u, const Palataulu &taulu)
{
    const Uint32 *alku = lahde_rivi + (u >> 8);
    const int16_t *s = taulu.sarake[u & (MURTO - 1)];
    neljaan(kohde, alku[s[0]], alku[s[1]], alku[s[2]], alku[s[3]]);
    neljaan(kohde + 4, alku[s[4]], alku[s[5]], alku[s[6]], alku[s[7]]);
    neljaan(kohde + 8, alku[s[8]], alku[s[9]], alku[s[10]], alku[s[11]]);
    neljaan(kohde + 12, alku[s[12]], alku[s[13]], alku[s[14]], alku[s[15]]);
}

// Copies n pixels from one picture row, as rivilta, in whole chunks while
// they end by loppu, so that only the span's end is copied pixel by pixel.
// What a chunk writes past n is the caller's to write again; every column it
// reads lies in the picture as long as it ends within the span.
void paloina(Uint32 *kohde, const Uint32 *lahde_rivi, uint32_t u, uint32_t du, int64_t n, int64_t loppu,
             const Palataulu &taulu)
{
    int64_t k = 0;
    for (; k < n && k + PALA <= loppu; k += PALA, u += PALA * du)
        palalta(kohde + k, lahde_rivi, u, taulu);
    if (k < n)
        rivilta(kohde + k, lahde_rivi, u, du, n - k);
}

// The same in fours, for runs shorter than a chunk.
void neljittain(Uint32 *kohde, const Uint32 *lahde_rivi, uint32_t u, uint32_t du, int64_t n, int64_t loppu)
{
    int64_t k = 0;
    for (; k < n && k + 4 <= loppu; k += 4, u += 4 * du)
        neljaan(kohde + k, lahde_rivi[u >> 8], lahde_rivi[(u + du) >> 8], lahde_rivi[(u + 2 * du) >> 8],
                lahde_rivi[(u + 3 * du) >> 8]);
    if (k < n)
        rivilta(kohde + k, lahde_rivi, u, du, n - k);
}

#ifdef ROTOZOOM_AVX2
// For chunks of 8: by the fraction of u, the columns relative to the first
// one (0 to 7 for 0 <= du <= 256); by the fraction of v, all ones in the
// lanes whose row is the first one's neighbour.
struct Taulu8 {
    alignas(32) int32_t sarake[MURTO][PALA8];
    alignas(32) int32_t rivi[MURTO][PALA8];

    void tayta(int du, int dv)
    {
        for (int f = 0; f < MURTO; f++)
            for (int i = 0; i < PALA8; i++) {
                sarake[f][i] = murtoina(f + i * du);
                rivi[f][i] = murtoina(f + i * dv) != 0 ? -1 : 0;
            }
    }
};

// Copies the span's n pixels in chunks of 8 and the rest one by one. A chunk
// takes the 8 pixels from its first column on in its first pixel's row and
// in the neighbouring row v moves to, permutes both by the columns and picks
// by the rows. The neighbour is held within the picture: where no lane uses
// it, it only has to be readable. Near the picture's right edge, where the 8
// would reach past the row, the rest goes one by one.
__attribute__((target("avx2"))) void span_avx2(Uint32 *kohde, const Uint8 *lahde, size_t lahde_pitch, int64_t w,
                                               int64_t h, uint32_t u, uint32_t v, uint32_t du, uint32_t dv,
                                               int naapuri, int64_t n, const Taulu8 &taulu)
{
    int64_t k = 0;
    for (; k + PALA8 <= n; k += PALA8, u += PALA8 * du, v += PALA8 * dv) {
        const int64_t sarake = u >> 8;
        if (sarake + PALA8 > w)
            break;
        const int64_t rivi = v >> 8;
        int64_t toinen = rivi + naapuri;
        if (toinen < 0)
            toinen = 0;
        if (toinen > h - 1)
            toinen = h - 1;
        const __m256i tama = _mm256_loadu_si256(
            (const __m256i *)((const Uint32 *)(lahde + (size_t)rivi * lahde_pitch) + sarake));
        const __m256i seuraava = _mm256_loadu_si256(
            (const __m256i *)((const Uint32 *)(lahde + (size_t)toinen * lahde_pitch) + sarake));
        const __m256i sarakkeet = _mm256_load_si256((const __m256i *)taulu.sarake[u & (MURTO - 1)]);
        const __m256i rivit = _mm256_load_si256((const __m256i *)taulu.rivi[v & (MURTO - 1)]);
        _mm256_storeu_si256((__m256i *)(kohde + k),
                            _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(tama, sarakkeet),
                                               _mm256_permutevar8x32_epi32(seuraava, sarakkeet), rivit));
    }
    yksitellen(kohde + k, lahde, lahde_pitch, u, v, du, dv, n - k);
}

// As paloina, in chunks of 8 from one picture row: the 8 pixels from the
// chunk's first column on, permuted by the columns. Near the picture's right
// edge the rest of the run goes one by one.
__attribute__((target("avx2"))) void rivi_avx2(Uint32 *kohde, const Uint32 *lahde_rivi, uint32_t u, uint32_t du,
                                               int64_t n, int64_t loppu, int64_t w, const Taulu8 &taulu)
{
    int64_t k = 0;
    for (; k < n && k + PALA8 <= loppu; k += PALA8, u += PALA8 * du) {
        const int64_t sarake = u >> 8;
        if (sarake + PALA8 > w)
            break;
        const __m256i tama = _mm256_loadu_si256((const __m256i *)(lahde_rivi + sarake));
        const __m256i sarakkeet = _mm256_load_si256((const __m256i *)taulu.sarake[u & (MURTO - 1)]);
        _mm256_storeu_si256((__m256i *)(kohde + k), _mm256_permutevar8x32_epi32(tama, sarakkeet));
    }
    if (k < n)
        rivilta(kohde + k, lahde_rivi, u, du, n - k);
}

// Any turn and zoom: 8 pixels at a time, their byte offsets in the picture
// worked out side by side and the words gathered. The offsets must fit an
// int. The rest goes one by one.
__attribute__((target("avx2"))) void span_gather_avx2(Uint32 *kohde, const Uint8 *lahde, size_t lahde_pitch,
                                                      uint32_t u, uint32_t v, uint32_t du, uint32_t dv, int64_t n)
{
    const __m256i askeleet = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i uu = _mm256_add_epi32(_mm256_set1_epi32((int)u), _mm256_mullo_epi32(askeleet, _mm256_set1_epi32((int)du)));
    __m256i vv = _mm256_add_epi32(_mm256_set1_epi32((int)v), _mm256_mullo_epi32(askeleet, _mm256_set1_epi32((int)dv)));
    const __m256i du8 = _mm256_set1_epi32((int)(PALA8 * du)), dv8 = _mm256_set1_epi32((int)(PALA8 * dv));
    const __m256i pitch = _mm256_set1_epi32((int)lahde_pitch);
    int64_t k = 0;
    for (; k + PALA8 <= n; k += PALA8) {
        const __m256i paikat = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srli_epi32(vv, 8), pitch),
                                                _mm256_slli_epi32(_mm256_srli_epi32(uu, 8), 2));
        _mm256_storeu_si256((__m256i *)(kohde + k), _mm256_i32gather_epi32((const int *)lahde, paikat, 1));
        uu = _mm256_add_epi32(uu, du8);
        vv = _mm256_add_epi32(vv, dv8);
    }
    yksitellen(kohde + k, lahde, lahde_pitch, u + (uint32_t)k * du, v + (uint32_t)k * dv, du, dv, n - k);
}

bool avx2_saatavilla()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}
#endif

}  // namespace

// Whether the AVX2 chunks may be used: the CPU has them. Tests turn them off
// to check the other copies as well.
#ifdef ROTOZOOM_AVX2
bool rotozoom_avx2 = avx2_saatavilla();
#else
bool rotozoom_avx2 = false;
#endif

bool rotozoom_steps(float zoom, float angle, int *du, int *dv)
{
    // 1.57 stands for a quarter turn: du comes out close to 256 cos(angle)
    // / zoom and dv close to -256 sin(angle) / zoom, but these are the values.
    const double a = (double)angle + 1.57;
    const double u_askel = std::sin(a) * 256.0 / (double)zoom;
    const double v_askel = std::cos(a) * 256.0 / (double)zoom;
    if (!mahtuu_inttiin(u_askel) || !mahtuu_inttiin(v_askel))
        return false;
    *du = (int)u_askel;
    *dv = (int)v_askel;
    return true;
}

void rotozoom(SDL_Surface *picture, float zoom, float angle, int clear)
{
    if (picture == NULL || screen == NULL)
        return;
    if (picture->format->BytesPerPixel != 4 || screen->format->BytesPerPixel != 4)
        return;
    if (SDL_LockSurface(screen) != 0)
        return;
    // A picture held in video memory must be locked to be read.
    bool kuva_lukittu = false;
    if (picture != screen && SDL_MUSTLOCK(picture)) {
        if (SDL_LockSurface(picture) != 0) {
            SDL_UnlockSurface(screen);
            return;
        }
        kuva_lukittu = true;
    }
    if (screen->pixels == NULL || picture->pixels == NULL) {
        if (kuva_lukittu)
            SDL_UnlockSurface(picture);
        SDL_UnlockSurface(screen);
        return;
    }

    const int64_t W = screen->w, H = screen->h;
    const int64_t w = picture->w, h = picture->h;
    Uint8 *kohde = (Uint8 *)screen->pixels;
    const size_t kohde_pitch = screen->pitch;
    const Uint8 *lahde = (const Uint8 *)picture->pixels;
    const size_t lahde_pitch = picture->pitch;

    int du = 0, dv = 0;
    if (!rotozoom_steps(zoom, angle, &du, &dv) || w <= 0 || h <= 0) {
        // No source position has a value: every pixel lies outside.
        if (clear)
            for (int64_t y = 0; y < H; y++)
                nollaa((Uint32 *)(kohde + (size_t)y * kohde_pitch), 0, W);
    } else {
        // 64-bit positions: with a tiny zoom du and dv come near the int
        // range, and the row and column sums would overflow an int.
        int64_t U = 128 * w - puolet(W * du) - puolet(H * -(int64_t)dv);
        int64_t V = 128 * h - puolet(W * dv) - puolet(H * du);
        const int64_t u_max = 256 * w - 1, v_max = 256 * h - 1;
        const uint32_t du32 = (uint32_t)du, dv32 = (uint32_t)dv;

        // How the spans are copied. Reading the surface being written, the
        // pixels must go strictly one by one in order.
        enum { YKSITELLEN, AVX2_AJOINA, AVX2, AVX2_KERATEN, PALOINA, NELJITTAIN } tapa = YKSITELLEN;
        const bool sama = picture == screen;
#ifdef ROTOZOOM_AVX2
        Taulu8 taulu8;
        if (!sama && rotozoom_avx2 && du >= 0 && du <= MURTO && dv >= -KAPEA_AVX2 && dv <= KAPEA_AVX2) {
            // Long runs in one row each, or chunks across two rows.
            tapa = dv >= -HARVA && dv <= HARVA ? AVX2_AJOINA : AVX2;
            taulu8.tayta(du, dv);
        }
#endif
        Palataulu taulu;
        if (tapa == YKSITELLEN && !sama && du > -LEVEA && du < LEVEA) {
            if (dv > -KAPEA_SSE2 && dv < KAPEA_SSE2) {
                tapa = PALOINA;
                taulu.tayta(du);
            } else if (dv > -KAPEA && dv < KAPEA) {
                tapa = NELJITTAIN;
            }
        }
#ifdef ROTOZOOM_AVX2
        // Turned further, or shrunk: gathered, where the offsets fit an int.
        // Shrunk without a turn the table's chunks from one row do better.
        if (!sama && rotozoom_avx2 && tapa != AVX2 && tapa != AVX2_AJOINA && !(tapa == PALOINA && dv == 0) &&
            h * (int64_t)lahde_pitch <= INT32_MAX)
            tapa = AVX2_KERATEN;
#endif
        // floor(m / |dv|) for m below 256 as (m x kaanteis) >> 32, exactly.
        const uint32_t dv_abs = dv < 0 ? 0u - dv32 : dv32;
        const uint64_t kaanteis = dv != 0 ? ((1ull << 32) + dv_abs - 1) / dv_abs : 0;

        // Without a turn: the picture row read by the row above, if any.
        int64_t edellinen_rivi = -1;
        const Uint32 *edellinen = NULL;

        for (int64_t y = 0; y < H; y++) {
            U = U - dv;
            V = V + du;
            Uint32 *rivi = (Uint32 *)(kohde + (size_t)y * kohde_pitch);

            int64_t lo = 0, hi = W;
            rajaa(U, du, u_max, lo, hi);
            rajaa(V, dv, v_max, lo, hi);
            if (lo >= hi) {
                if (clear)
                    nollaa(rivi, 0, W);
                edellinen = NULL;
                continue;
            }
            if (clear)
                nollaa(rivi, 0, lo);

            // Inside the span every position lies within the picture, so the
            // coordinates fit in 32 bits; the wrapping unsigned step only
            // matters past the span's last pixel, where it is not used.
            const uint32_t u = (uint32_t)(U + lo * du);
            const uint32_t v = (uint32_t)(V + lo * dv);
            if (tapa != YKSITELLEN && dv == 0 && edellinen != NULL && (v >> 8) == edellinen_rivi) {
                std::memcpy(rivi + lo, edellinen + lo, (size_t)(hi - lo) * 4);
            } else if (tapa == YKSITELLEN) {
                yksitellen(rivi + lo, lahde, lahde_pitch, u, v, du32, dv32, hi - lo);
#ifdef ROTOZOOM_AVX2
            } else if (tapa == AVX2_KERATEN) {
                span_gather_avx2(rivi + lo, lahde, lahde_pitch, u, v, du32, dv32, hi - lo);
            } else if (tapa == AVX2) {
                span_avx2(rivi + lo, lahde, lahde_pitch, w, h, u, v, du32, dv32, dv < 0 ? -1 : 1, hi - lo, taulu8);
#endif
            } else {
                // Runs that each read one picture row; a run's last chunk
                // may reach into the next run, which then writes those
                // pixels again.
                uint32_t uu = u, vv = v;
                for (int64_t x = lo; x < hi;) {
                    const uint32_t jaljella = dv < 0 ? (vv & 255) : 255 - (vv & 255);
                    int64_t n = dv == 0 ? hi - x : (int64_t)(((uint64_t)jaljella * kaanteis) >> 32) + 1;
                    if (n > hi - x)
                        n = hi - x;
                    const Uint32 *lr = (const Uint32 *)(lahde + (size_t)(vv >> 8) * lahde_pitch);
                    if (tapa == PALOINA)
                        paloina(rivi + x, lr, uu, du32, n, hi - x, taulu);
                    else if (tapa == NELJITTAIN)
                        neljittain(rivi + x, lr, uu, du32, n, hi - x);
#ifdef ROTOZOOM_AVX2
                    else
                        rivi_avx2(rivi + x, lr, uu, du32, n, hi - x, w, taulu8);
#endif
                    uu += (uint32_t)n * du32;
                    vv += (uint32_t)n * dv32;
                    x += n;
                }
            }
            edellinen = rivi;
            edellinen_rivi = v >> 8;

            if (clear)
                nollaa(rivi, hi, W);
        }
    }

    if (kuva_lukittu)
        SDL_UnlockSurface(picture);
    SDL_UnlockSurface(screen);
}
