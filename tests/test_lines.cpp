// The additive glowing lines.
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "effects/effects.h"
#include "runtime/globals.h"
#include "support/fake_sdl.h"

namespace {

// The glow a line adds at squared distance d2 from its reference point.
Uint32 glow(long long d2)
{
    return (Uint32)(20.0 / std::sqrt((double)d2) * 366666.0);
}

typedef std::map<std::pair<int, int>, Uint32> Added;

// Every pixel of the screen whose word changed, with what was added to it.
Added changes(const std::vector<Uint32> &before)
{
    Added added;
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++) {
            Uint32 now = pixel(screen, x, y);
            if (now != before[y * 640 + x])
                added[{x, y}] = now - before[y * 640 + x];
        }
    return added;
}

class Lines : public DrawingTest {};

TEST_F(Lines, WorkedExamplesAddExactlyTheirGlowAndNothingElse)
{
    struct Case {
        std::string name;
        int x0, y0, x1, y1;
        Added expected;
    };
    Added row, column;
    for (int x = 470; x <= 639; x++)
        row[{x, 200}] = glow((x - 470) * (x - 470) + 200 * 200);
    for (int y = 200; y <= 479; y++)
        column[{470, y}] = glow((y - 200) * (y - 200) + 470 * 470);
    const Added short_line = {{{1, 1}, glow(1)}, {{2, 1}, glow(2)}, {{3, 2}, glow(8)}};
    const Added diagonal = {{{1, 1}, glow(2)}, {{2, 2}, glow(8)}, {{3, 3}, glow(18)}, {{4, 4}, glow(32)}};
    const Case cases[] = {
        {"x-major along row 200", 470, 200, 1170, 200, row},
        {"same, end first", 1170, 200, 470, 200, row},
        {"y-major down column 470", 470, 200, 470, 900, column},
        {"short x-major", 1, 1, 4, 2, short_line},
        {"short x-major, end first", 4, 2, 1, 1, short_line},
        {"diagonal: ties go to y", 0, 0, 5, 5, diagonal},
        {"equal end points", 300, 300, 300, 300, {}},
        {"wholly left of the screen", -100, -50, -10, 300, {}},
        {"wholly right and below", 700, 500, 1000, 900, {}},
        {"along row 0", 0, 0, 639, 0, {}},
        {"along column 0", 0, 0, 0, 479, {}},
        {"below the window, row 480", -20, 480, 700, 480, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        // A background that is neither black nor uniform.
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++)
                set_pixel(screen, x, y, (Uint32)(x * 7919 + y * 104729));
        std::vector<Uint32> before = screen_words();
        draw_line(c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ(changes(before), c.expected);
    }
    // The numbers the glow stands for.
    EXPECT_EQ(row[std::make_pair(470, 200)], 36666u);
    EXPECT_EQ(row[std::make_pair(471, 200)], 36666u);
    EXPECT_EQ(glow(1), 20u * 366666u);
    EXPECT_EQ(glow(700 * 700), (Uint32)(20.0 * 366666 / 700));
}

TEST_F(Lines, TheGlowAddsToTheWholeWordWithCarryAndWrap)
{
    struct Case {
        Uint32 old_word, new_word;
    } cases[] = {
        // White carries out of its colour bytes into the top byte.
        {0x00ffffffu, 0x00ffffffu + 7333320u},
        // Near 2^32 the sum wraps round to a small value.
        {0xfffffff0u, 7333320u - 0x10u},
        {0xffffffffu, 7333319u},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.old_word);
        set_pixel(screen, 1, 1, c.old_word);
        draw_line(1, 1, 2, 1);  // one pixel, (1, 1), at d2 = 1
        EXPECT_EQ(pixel(screen, 1, 1), c.new_word);
        EXPECT_EQ(pixel(screen, 2, 1), 0u);
    }
    EXPECT_EQ(0x00ffffffu + 7333320u, 0x016fe5c7u);
}

TEST_F(Lines, NeverWritesOutsideASmallerSurface)
{
    // A 100 x 50 surface inside a larger buffer: padding at the end of every
    // row and whole rows below it must stay untouched.
    const int w = 100, h = 50, pitch = 4 * (w + 8), rows = h + 8;
    const Uint32 guard = 0xdeadbeefu;
    std::vector<Uint32> memory((size_t)(pitch / 4) * rows, guard);
    SDL_Surface *small = SDL_CreateRGBSurfaceFrom(memory.data(), w, h, 32, pitch, 0xff0000, 0xff00, 0xff, 0);
    ASSERT_NE(small, nullptr);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            set_pixel(small, x, y, 0);
    SDL_Surface *display_surface = screen;
    screen = small;
    for (int i = 0; i < 80; i++)
        draw_line(470 - 420, 200 - 180, 470 - 420 + (int)(700 * std::cos(i * 0.0785)),
                  200 - 180 + (int)(700 * std::sin(i * 0.0785)));
    draw_line(-5, -5, 2000, 1000);
    draw_line(99, 0, 99, 479);
    draw_line(0, 49, 639, 49);
    screen = display_surface;

    int touched = 0;
    for (int y = 0; y < rows; y++)
        for (int x = 0; x < pitch / 4; x++) {
            const Uint32 word = memory[(size_t)y * (pitch / 4) + x];
            if (x < w && y < h)
                touched += word != 0;
            else
                ASSERT_EQ(word, guard) << "written outside the surface at " << x << "," << y;
        }
    EXPECT_GT(touched, 0);
    // Row 49 and column 99 are the surface's last: they may be drawn.
    EXPECT_NE(memory[49 * (pitch / 4) + 10], 0u);
    EXPECT_NE(memory[10 * (pitch / 4) + 99], 0u);
    SDL_FreeSurface(small);
}

}  // namespace
