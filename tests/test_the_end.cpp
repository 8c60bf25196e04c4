// Scene 7: the end title, the leaping picture on its arc and the streak of
// blood copies behind it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/globals.h"
#include "scenes/scenes.h"
#include "support/fake_sdl.h"

namespace {

const Uint32 START = 27500;  // the tick at which the scene began

class TheEnd : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        kuvat[9] = tagged_picture(9, 3, 3);
        kuvat[10] = tagged_picture(10, 3, 3);
        kuvat[11] = tagged_picture(11, 6, 1);  // wider than the 5-pixel spacing
        skene = 7;
        temp3 = START;
        SDL_FillRect(screen, NULL, 0x0f0f0f);
    }
    void TearDown() override
    {
        for (int i = 9; i <= 11; i++)
            if (kuvat[i])
                SDL_FreeSurface(kuvat[i]);
        DrawingTest::TearDown();
    }

    // One pass with the scene clock standing at e.
    void pass(Uint32 e)
    {
        fake::set_clock(START + e);
        the_end();
    }

    int count(Uint32 value, int y0 = 0, int y1 = 480)
    {
        int n = 0;
        for (int y = y0; y < y1; y++)
            for (int x = 0; x < 640; x++)
                n += pixel(screen, x, y) == value;
        return n;
    }
};

TEST_F(TheEnd, StartsFromBlackWithTheTitleAloneOnScreen)
{
    pass(0);
    // Leaping picture at (640, 480), the nearest blood copy at (665, 505).
    EXPECT_EQ(count(0), 640 * 480 - 9);
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 3; x++)
            EXPECT_EQ(pixel(screen, 50 + x, 50 + y), tagged_word(9, x, y));
    EXPECT_EQ(skene, 7);
    EXPECT_EQ(temp3, START);
}

TEST_F(TheEnd, LeapingPictureFollowsItsArc)
{
    const struct {
        Uint32 e;
        int x, y;
    } cases[] = {
        {640, 320, 80},   // the peak
        {1280, 0, 479},   // sin(3.14) is just above 0
        {320, 480, 197},  // 480 - 400 sin(160 / D) = 197.4
        {641, 320, 80},   // the clock is halved
    };
    for (const auto &c : cases) {
        SCOPED_TRACE("e = " + std::to_string(c.e));
        SDL_FillRect(screen, NULL, 0x0f0f0f);
        pass(c.e);
        EXPECT_EQ(pixel(screen, c.x, c.y), tagged_word(10, 0, 0));
        if (c.y + 2 < 480) {
            EXPECT_EQ(pixel(screen, c.x + 2, c.y + 2), tagged_word(10, 2, 2));
        } else {
            EXPECT_EQ(pixel(screen, c.x + 2, c.y), tagged_word(10, 2, 0));
        }
        if (c.x > 0) {
            EXPECT_NE(pixel(screen, c.x - 1, c.y) >> 20, 10u);
        }
        EXPECT_NE(pixel(screen, c.x, c.y - 1) >> 20, 10u);
        EXPECT_EQ(count(tagged_word(10, 1, 0)), 1);
        EXPECT_EQ(pixel(screen, 50, 50), tagged_word(9, 0, 0));
        EXPECT_EQ(count(0x0f0f0f), 0) << "nothing from earlier frames remains";
    }
}

TEST_F(TheEnd, StreakShortensByOneCopyEvery100Ms)
{
    const struct {
        Uint32 e;
        int copies;
    } cases[] = {{0, 124}, {99, 124}, {100, 123}, {199, 123}, {200, 122}, {4500, 79}};
    for (const auto &c : cases) {
        SCOPED_TRACE("e = " + std::to_string(c.e));

        // Under a still clock: two readings for the leap, four per copy and
        // the one that stops the streak.
        fake::reset();
        pass(c.e);
        EXPECT_EQ(fake::reads, 3 + 4L * c.copies);

        // The copies themselves. The streak's stop test reads e; the
        // position readings are scripted so that copy k lands at
        // (off - 10, 80) = (630 - 5k, 80), all of them on the screen:
        // x = off + 640 - 650, a = 480 - 400 sin(320 / D) = 80.0001, and
        // (1 + sin(960 / D)) off < 0.002.
        fake::reset();
        std::vector<Uint32> readings = {START, START};  // the leap, off screen
        for (int k = 0; k < 130; k++)
            for (Uint32 e : {c.e, 1300u, 640u, 1920u})
                readings.push_back(START + e);
        fake::set_clock(START + c.e);
        fake::script_readings(readings);
        the_end();
        int drawn = 0;
        for (int x = 630; x >= 0; x -= 5)
            drawn += pixel(screen, x + 1, 80) == tagged_word(11, 1, 0);
        EXPECT_EQ(drawn, c.copies);
        EXPECT_EQ(count(tagged_word(11, 1, 0), 80, 81), c.copies);
        EXPECT_EQ(count(tagged_word(11, 5, 0), 80, 81), c.copies);
        // Each copy's first column lies under the last column of the next
        // nearer one: only the nearest copy shows its first column.
        EXPECT_EQ(count(tagged_word(11, 0, 0), 80, 81), 1);
        EXPECT_EQ(pixel(screen, 630 - 5 * (c.copies - 1), 80), tagged_word(11, 0, 0));
        EXPECT_EQ(pixel(screen, 630, 80), tagged_word(11, 5, 0));
    }
}

TEST_F(TheEnd, StreakTrailsDownAndRightOfTheLeapingPicture)
{
    // At 640 ms (h = 320, sin = 1 - 3e-7) the leaping corner is (320, 80) and
    // copy off stands at (off + 320, 2 off + 80), the nearest at off = 55.
    pass(640);
    for (int off : {55, 60, 100, 195}) {
        SCOPED_TRACE("off = " + std::to_string(off));
        int x = off + 320, y = (int)(1.9999997 * off + 80.0001);
        EXPECT_EQ(pixel(screen, x + 5, y), tagged_word(11, 5, 0));
        EXPECT_EQ(pixel(screen, x + 1, y), tagged_word(11, 1, 0));
    }
    EXPECT_EQ(pixel(screen, 375, 190), tagged_word(11, 0, 0)) << "the nearest copy";
    EXPECT_EQ(pixel(screen, 370, 180), 0u) << "no copy nearer than off = 55";
}

TEST_F(TheEnd, MissingPicturesAreSkipped)
{
    for (int i = 9; i <= 11; i++) {
        SDL_FreeSurface(kuvat[i]);
        kuvat[i] = NULL;
    }
    pass(640);
    EXPECT_EQ(count(0), 640 * 480);
    EXPECT_EQ(fake::reads, 3 + 4L * 118);  // the streak still reads its clock
    EXPECT_EQ(skene, 7);
}

}  // namespace
