// The rotozoomer: its steps, its fixed point, its inside test, its clearing,
// and its pixels against a plain per-pixel walk.
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "effects/effects.h"
#include "runtime/globals.h"
#include "support/fake_sdl.h"

// Whether the rotozoomer copies in AVX2 chunks (where the CPU has them).
extern bool rotozoom_avx2;

namespace {

// A word that names the picture pixel (x, y), never 0.
Uint32 word_of(int x, int y)
{
    return (Uint32)(x << 12 | y) + 1;
}

// A numbered picture; extra > 0 pads every row with that many unused words.
SDL_Surface *numbered_picture(int w, int h, int extra = 0)
{
    SDL_Surface *s;
    if (extra == 0) {
        s = make_picture(w, h);
    } else {
        const int pitch = 4 * (w + extra);
        void *memory = SDL_malloc((size_t)pitch * h);
        s = SDL_CreateRGBSurfaceFrom(memory, w, h, 32, pitch, 0xff0000, 0xff00, 0xff, 0);
        // Padding words that must never be read into the screen.
        for (int y = 0; y < h; y++)
            for (int x = w; x < w + extra; x++)
                *((Uint32 *)((Uint8 *)memory + y * pitch) + x) = 0xbadbadu;
    }
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            set_pixel(s, x, y, word_of(x, y));
    return s;
}

void free_picture(SDL_Surface *s)
{
    void *own_memory = (s->flags & SDL_PREALLOC) ? s->pixels : NULL;
    SDL_FreeSurface(s);
    SDL_free(own_memory);
}

void fill_background(SDL_Surface *s)
{
    for (int y = 0; y < s->h; y++)
        for (int x = 0; x < s->w; x++)
            set_pixel(s, x, y, 0x80000000u | (Uint32)(x * 31 + y * 977));
}

// The rotozoomer as a plain walk over every pixel, each tested and copied in
// turn. Positions are 64-bit so that tiny zooms cannot overflow; where the
// values fit an int they are the same numbers.
void reference_rotozoom(SDL_Surface *picture, float zoom, float angle, int clear)
{
    const double a = (double)angle + 1.57;
    const double su = std::sin(a) * 256.0 / (double)zoom;
    const double sv = std::cos(a) * 256.0 / (double)zoom;
    const bool steps = std::fabs(su) < 2147483648.0 && std::fabs(sv) < 2147483648.0;
    const int64_t W = screen->w, H = screen->h, w = picture->w, h = picture->h;
    const int64_t du = steps ? (int)su : 0, dv = steps ? (int)sv : 0;
    int64_t U = 128 * w - (W * du) / 2 - (H * -dv) / 2;
    int64_t V = 128 * h - (W * dv) / 2 - (H * du) / 2;
    for (int64_t y = 0; y < H; y++) {
        U = U - dv;
        V = V + du;
        int64_t u = U, v = V;
        for (int64_t x = 0; x < W; x++) {
            if (steps && 0 <= u && 0 <= v && u < 256 * w && v < 256 * h)
                set_pixel(screen, (int)x, (int)y,
                          *(Uint32 *)((Uint8 *)picture->pixels + (v >> 8) * picture->pitch + 4 * (u >> 8)));
            else if (clear)
                set_pixel(screen, (int)x, (int)y, 0);
            u = u + du;
            v = v + dv;
        }
    }
}

class Rotozoom : public DrawingTest {};

TEST(RotozoomSteps, AtAngleZero)
{
    struct Case {
        float zoom;
        int du, dv;
    } cases[] = {
        {1, 255, 0},  // sin(1.57) just below 1: 256/255 of the picture's size
        {4, 63, 0},
        {3.5f, 73, 0},
        {1.5f, 170, 0},
        {0.21f, 1219, 0},
        {0.001f, 255999, 203},  // cos(1.57) shows at such a zoom
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.zoom);
        int du = -1, dv = -1;
        EXPECT_TRUE(rotozoom_steps(c.zoom, 0, &du, &dv));
        EXPECT_EQ(du, c.du);
        EXPECT_EQ(dv, c.dv);
    }
    // A quarter turn clockwise: du near 0, dv near -256.
    int du = 0, dv = 0;
    EXPECT_TRUE(rotozoom_steps(1, 1.5707964f, &du, &dv));
    EXPECT_EQ(du, 0);
    EXPECT_EQ(dv, -255);
}

TEST(RotozoomSteps, HaveNoValueForZoomZeroOrBeyondTheIntRange)
{
    for (float zoom : {0.0f, -0.0f, 1e-7f, std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(zoom);
        int du = 0, dv = 0;
        EXPECT_FALSE(rotozoom_steps(zoom, 0, &du, &dv));
    }
}

// Draws a table of zooms, angles, pictures (odd sizes, a padded row) and
// screens (one of odd size) both ways, and fails at the first frame in which
// one pixel differs.
void expect_same_as_plain_walk(const char *copy)
{
    const float zooms[] = {4, 3.5f, 1.5f, 1, 0.5f, 0.13f, 0.001f, 0.00001f, -1.3f, 7.9f};
    const float angles[] = {0, 0.03f, -0.03f, 0.1f, -0.7f, 1.5707964f, 3.0f, 3.1f, -2.5f};
    struct Picture {
        int w, h, extra;
    } pictures[] = {{640, 480, 0}, {33, 17, 0}, {1, 1, 0}, {301, 199, 3}};
    struct Screen {
        int w, h;
    } screens[] = {{640, 480}, {101, 57}};

    SDL_Surface *display_surface = screen;
    for (const Screen &s : screens) {
        SDL_Surface *ours = make_picture(s.w, s.h);
        SDL_Surface *theirs = make_picture(s.w, s.h);
        for (const Picture &p : pictures) {
            SDL_Surface *picture = numbered_picture(p.w, p.h, p.extra);
            int frames_differing = 0;
            for (float zoom : zooms)
                for (float angle : angles)
                    for (int clear : {0, 1}) {
                        fill_background(ours);
                        fill_background(theirs);
                        screen = ours;
                        rotozoom(picture, zoom, angle, clear);
                        screen = theirs;
                        reference_rotozoom(picture, zoom, angle, clear);
                        int differ = 0, first = -1;
                        for (int y = 0; y < s.h; y++)
                            for (int x = 0; x < s.w; x++)
                                if (pixel(ours, x, y) != pixel(theirs, x, y) && differ++ == 0)
                                    first = y * s.w + x;
                        if (differ != 0 && frames_differing++ == 0)
                            ADD_FAILURE() << copy << ": screen " << s.w << "x" << s.h << ", picture " << p.w
                                          << "x" << p.h << ", zoom " << zoom << ", angle " << angle << ", clear "
                                          << clear << ": " << differ << " pixels differ, the first at "
                                          << first % s.w << "," << first / s.w;
                    }
            EXPECT_EQ(frames_differing, 0) << copy;
            free_picture(picture);
        }
        SDL_FreeSurface(ours);
        SDL_FreeSurface(theirs);
    }
    screen = display_surface;
}

TEST_F(Rotozoom, MatchesThePlainPerPixelWalkPixelForPixel)
{
    const bool cpu_has_avx2 = rotozoom_avx2;
    rotozoom_avx2 = false;
    expect_same_as_plain_walk("SSE2 copy");
    rotozoom_avx2 = cpu_has_avx2;
    if (cpu_has_avx2)
        expect_same_as_plain_walk("AVX2 copy");
}

TEST_F(Rotozoom, ScreenPixel320x239ShowsThePictureCentreAtAnyZoomAndAngle)
{
    struct Picture {
        int w, h;
    } pictures[] = {{64, 48}, {33, 17}, {1, 1}};
    for (const Picture &p : pictures) {
        SDL_Surface *picture = numbered_picture(p.w, p.h);
        for (float zoom : {4.0f, 1.0f, 0.5f, 0.001f, 2.7f})
            for (float angle : {0.0f, 0.3f, -1.2f, 2.5f, -3.1f}) {
                SCOPED_TRACE(std::to_string(p.w) + "x" + std::to_string(p.h) + " zoom " +
                             std::to_string(zoom) + " angle " + std::to_string(angle));
                rotozoom(picture, zoom, angle, 1);
                EXPECT_EQ(pixel(screen, 320, 239), word_of(p.w / 2, p.h / 2));
            }
        free_picture(picture);
    }
}

TEST_F(Rotozoom, SourcePositionZeroIsInsideAnd256TimesTheSizeIsOutside)
{
    // Zoom 1 at angle 0 steps 255 per pixel; with a 255 x 255 picture
    // u(x) = 128 x 255 + (x - 320) x 255 is 0 at x = 192 and 256 x 255 at
    // x = 448, and v(y) likewise at rows 111 and 367.
    SDL_Surface *picture = numbered_picture(255, 255);
    rotozoom(picture, 1, 0, 1);
    EXPECT_EQ(pixel(screen, 191, 239), 0u);
    EXPECT_EQ(pixel(screen, 192, 239), word_of(0, 127));
    EXPECT_EQ(pixel(screen, 447, 239), word_of(254, 127));
    EXPECT_EQ(pixel(screen, 448, 239), 0u);
    EXPECT_EQ(pixel(screen, 320, 110), 0u);
    EXPECT_EQ(pixel(screen, 320, 111), word_of(127, 0));
    EXPECT_EQ(pixel(screen, 320, 366), word_of(127, 254));
    EXPECT_EQ(pixel(screen, 320, 367), 0u);
    free_picture(picture);
}

TEST_F(Rotozoom, ClearBlackensTheOutsideOrLeavesIt)
{
    SDL_Surface *picture = numbered_picture(64, 48);
    for (int clear : {0, 1}) {
        SCOPED_TRACE(clear);
        fill_background(screen);
        const Uint32 corner = pixel(screen, 0, 0), edge = pixel(screen, 639, 300);
        rotozoom(picture, 0.5f, 0.2f, clear);
        EXPECT_EQ(pixel(screen, 0, 0), clear ? 0u : corner);
        EXPECT_EQ(pixel(screen, 639, 300), clear ? 0u : edge);
        EXPECT_EQ(pixel(screen, 320, 239), word_of(32, 24));
    }
    free_picture(picture);
}

TEST_F(Rotozoom, AtZoom0001OnlyTheCentrePixelShowsThePicture)
{
    SDL_Surface *picture = numbered_picture(1999, 7);
    fill_background(screen);
    rotozoom(picture, 0.001f, 0, 1);
    int shown = 0;
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
            shown += pixel(screen, x, y) != 0;
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(pixel(screen, 320, 239), word_of(999, 3));
    free_picture(picture);
}

TEST_F(Rotozoom, ZoomWithoutStepsDrawsAllOutsideAndANullPictureNothing)
{
    SDL_Surface *picture = numbered_picture(64, 48);
    struct Case {
        SDL_Surface *picture;
        float zoom;
        int clear;
        bool black;  // else untouched
    } cases[] = {
        {picture, 0, 1, true},
        {picture, 0, 0, false},
        {picture, 1e-9f, 1, true},
        {NULL, 1, 1, false},
        {NULL, 1, 0, false},
        {NULL, 0, 1, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.picture ? "picture" : "null") + " zoom " + std::to_string(c.zoom) +
                     " clear " + std::to_string(c.clear));
        fill_background(screen);
        std::vector<Uint32> before;
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++)
                before.push_back(pixel(screen, x, y));
        rotozoom(c.picture, c.zoom, 0, c.clear);
        int black = 0, kept = 0;
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++) {
                black += pixel(screen, x, y) == 0;
                kept += pixel(screen, x, y) == before[y * 640 + x];
            }
        EXPECT_EQ(black, c.black ? 640 * 480 : 0);
        EXPECT_EQ(kept, c.black ? 0 : 640 * 480);
    }
    free_picture(picture);
}

}  // namespace
