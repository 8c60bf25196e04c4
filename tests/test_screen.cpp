// The whole-screen fills and the pixel dissolve.
#include <array>

#include <gtest/gtest.h>

#include "effects/effects.h"
#include "runtime/globals.h"
#include "support/fake_sdl.h"

namespace {

const Uint32 WHITE = 0xffffff;

class ScreenHelpers : public DrawingTest {
protected:
    static int blackened(SDL_Surface *s)
    {
        int count = 0;
        for (int y = 0; y < s->h; y++)
            for (int x = 0; x < s->w; x++)
                count += pixel(s, x, y) == 0;
        return count;
    }
};

TEST_F(ScreenHelpers, CleanAndFlashFillTheWholeScreenAndLeaveTheFullRectangle)
{
    temp_alue = {5, 6, 7, 8};
    flash();
    EXPECT_EQ(pixel(screen, 0, 0), WHITE);
    EXPECT_EQ(pixel(screen, 639, 479), WHITE);
    EXPECT_EQ(temp_alue.x, 0);
    EXPECT_EQ(temp_alue.w, 640);
    EXPECT_EQ(temp_alue.h, 480);
    temp_alue = {5, 6, 7, 8};
    clean_screen();
    EXPECT_EQ(pixel(screen, 0, 0), 0u);
    EXPECT_EQ(pixel(screen, 639, 479), 0u);
    EXPECT_EQ(temp_alue.y, 0);
    EXPECT_EQ(temp_alue.w, 640);
    EXPECT_EQ(temp_alue.h, 480);
}

TEST_F(ScreenHelpers, FadeBlackensOneShiftedLatticeOfAThreeHundredByTwoHundredPicture)
{
    SDL_Surface *logo = make_picture(300, 200, WHITE);
    offsetx = 5;
    fake::set_clock(500);  // offset 5 throughout the call
    fade(logo, 0, 0, 300, 200);
    EXPECT_EQ(blackened(logo), 100 * 100);
    // Columns x + 5 for x = 0, 3, ..., 297 wrap to 2 mod 3; rows y + 5 are odd.
    for (int y = 0; y < 200; y++)
        for (int x = 0; x < 300; x++)
            ASSERT_EQ(pixel(logo, x, y) == 0, x % 3 == 2 && y % 2 == 1) << x << "," << y;
    EXPECT_EQ(offsetx, 5);
    SDL_FreeSurface(logo);
}

TEST_F(ScreenHelpers, SixConsecutiveOffsetsBlackenEveryPixel)
{
    SDL_Surface *logo = make_picture(300, 200, WHITE);
    for (Uint32 t = 0; t <= 600; t += 100) {
        fake::set_clock(t);
        fade(logo, 0, 0, 300, 200);
    }
    EXPECT_EQ(blackened(logo), 300 * 200);
    SDL_FreeSurface(logo);
}

TEST_F(ScreenHelpers, FadeOffsetFollowsTheTickCountAndWrapsFrom999To0)
{
    SDL_Surface *s = make_picture(6, 4, WHITE);
    fake::set_clock(99999);
    fade(s, 0, 0, 6, 4);
    EXPECT_EQ(offsetx, 999);
    fake::set_clock(100000);
    fade(s, 0, 0, 6, 4);
    EXPECT_EQ(offsetx, 0);
    // A 100 ms boundary inside a call: the first pixel uses the old offset,
    // the following pixels the new one.
    SDL_FillRect(s, NULL, WHITE);
    offsetx = 0;
    fake::set_clock(100);
    fade(s, 0, 0, 6, 4);  // lattice points (0,0), (0,2), (3,0), (3,2)
    EXPECT_EQ(pixel(s, 0, 0), 0u);
    EXPECT_EQ(pixel(s, 1, 3), 0u);  // (0,2) shifted by 1
    EXPECT_EQ(pixel(s, 0, 2), WHITE);
    EXPECT_EQ(offsetx, 1);
    SDL_FreeSurface(s);
}

TEST_F(ScreenHelpers, EmptyRectangleWritesNothingAndKeepsTheOffset)
{
    SDL_Surface *s = make_picture(6, 4, WHITE);
    offsetx = 7;
    fake::set_clock(50000);
    for (auto r : {std::array<int, 4>{0, 0, 0, 4}, {3, 0, 2, 4}, {0, 2, 6, 2}, {0, 3, 6, 1}}) {
        fade(s, r[0], r[1], r[2], r[3]);
        EXPECT_EQ(blackened(s), 0);
        EXPECT_EQ(offsetx, 7);
    }
    EXPECT_EQ(fake::reads, 0);
    SDL_FreeSurface(s);
}

TEST_F(ScreenHelpers, FadeStaysInsideTheSurfaceForAnyCornersAndSizes)
{
    // Corners far outside, a 1x1 surface, and no surface at all: every write
    // lands inside (the sanitizer build checks the memory), and a null or
    // empty surface is left alone.
    SDL_Surface *tiny = make_picture(1, 1, WHITE);
    fake::set_clock(123456);
    offsetx = 0;
    fade(tiny, -1000, -7, 5, 3);
    EXPECT_EQ(pixel(tiny, 0, 0), 0u);
    SDL_Surface *odd = make_picture(7, 5, WHITE);
    fade(odd, -3001, -2000, 40, 33);
    EXPECT_GT(blackened(odd), 0);
    fade(NULL, 0, 0, 10, 10);
    SDL_FreeSurface(tiny);
    SDL_FreeSurface(odd);
}

}  // namespace
