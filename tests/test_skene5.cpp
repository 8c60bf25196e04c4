// Scene 5: the scrolling strip, the sliding picture, the cut-ins, the clock
// restart at the fifth cut and the hand-over past tick 27000.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/globals.h"
#include "scenes/scenes.h"
#include "support/fake_sdl.h"

namespace {

const Uint32 MARKER = 0x00f0f0f;  // what earlier passes left on the screen; no tagged_word

// Fixture sizes: the sliding picture 50 x 100 puts the strip row at 190; the
// tile is narrower than the spacing so that the gaps between tiles show.
const int SLIDE_W = 50, SLIDE_H = 100, TILE_W = 110, TILE_H = 20, ROW = 190;

class Skene5 : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        lepikko = &sample;
        kuvat[5] = tagged_picture(5, SLIDE_W, SLIDE_H);
        kuvat[6] = tagged_picture(6, TILE_W, TILE_H);
        kuvat[7] = tagged_picture(7, 4, 3);
        skene = 5;
        temp = -4;  // scene 1's last wave offset
        SDL_FillRect(screen, NULL, MARKER);
    }
    void TearDown() override
    {
        for (int i = 5; i <= 7; i++)
            replace(i, NULL);
        DrawingTest::TearDown();
    }

    void replace(int slot, SDL_Surface *s)
    {
        if (kuvat[slot])
            SDL_FreeSurface(kuvat[slot]);
        kuvat[slot] = s;
    }

    // One pass with the clock standing at t.
    void pass(Uint32 t)
    {
        fake::set_clock(t);
        skene5();
    }

    // One pass at t with the scene clock at e (its cycle position is e mod 2000).
    void pass_at(Uint32 t, Uint32 e)
    {
        temp3 = t - e;
        pass(t);
    }

    bool screen_is(Uint32 value)
    {
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++)
                if (pixel(screen, x, y) != value)
                    return false;
        return true;
    }

    bool shows_tag(int tag)
    {
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++)
                if ((pixel(screen, x, y) >> 20) == (Uint32)tag)
                    return true;
        return false;
    }

    Mix_Chunk sample{};
};

TEST_F(Skene5, TilesAndSlideStandWhereTheClockPutsThem)
{
    struct Case {
        Uint32 t, temp3;
        int kekelol;
        std::vector<int> tiles;  // left edges, in drawing order
        int slide_x;
    } cases[] = {
        {19000, 16000, 102, {-104, 102, 308, 514}, 100},  // slide over the second tile
        {265, 0, 0, {-206, 0, 206, 412, 618}, -174},
        {37, 0, 21, {-185, 21, 227, 433, 639}, -197},     // fifth tile on the last column
        {36, 0, 22, {-184, 22, 228, 434}, -197},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("t = " + std::to_string(c.t));
        SDL_FillRect(screen, NULL, MARKER);
        temp = -4;
        temp3 = c.temp3;
        pass(c.t);
        EXPECT_EQ(kekelol, c.kekelol);
        EXPECT_EQ(temp2 - 200, c.slide_x);
        EXPECT_EQ(temp, 0);
        // Across the strip's top and bottom rows every column shows the
        // sliding picture, else the tile covering it, else what was there.
        for (int y : {ROW, ROW + TILE_H - 1}) {
            for (int x = 0; x < 640; x++) {
                Uint32 want = MARKER;
                for (int left : c.tiles)
                    if (x >= left && x < left + TILE_W)
                        want = tagged_word(6, x - left, y - ROW);
                if (x >= c.slide_x && x < c.slide_x + SLIDE_W)
                    want = tagged_word(5, x - c.slide_x, y - ROW);
                ASSERT_EQ(pixel(screen, x, y), want) << "x = " << x << ", y = " << y;
            }
        }
        EXPECT_EQ(pixel(screen, 300, ROW - 1), MARKER) << "the first pass does not clear";
        EXPECT_EQ(pixel(screen, 300, ROW + TILE_H), MARKER);
    }
}

TEST_F(Skene5, OffsetIsTheNegatedTickModulo207)
{
    const struct {
        Uint32 t;
        int kekelol;
    } cases[] = {{0, 0}, {1, 57}, {206, 59}, {207, 58}, {264, 1}, {265, 0}, {266, 206}, {19000, 102}};
    for (const auto &c : cases) {
        pass_at(c.t, 0);
        EXPECT_EQ(kekelol, c.kekelol) << "t = " << c.t;
    }
}

TEST_F(Skene5, EachStepReadsItsOwnTick)
{
    temp3 = 0;
    // The choice, the offset, the slide and the end test.
    fake::script_readings({500, 265, 19000, 27000});
    skene5();
    EXPECT_EQ(kekelol, 0);
    EXPECT_EQ(temp2, 1900);
    EXPECT_EQ(skene, 5);
    EXPECT_EQ(fake::reads, 4);
}

TEST_F(Skene5, ChoosesACutOnlyLateInTheCycleFromTick19000)
{
    // At 19000 or earlier a cut pass draws nothing; a scroll pass draws.
    const struct {
        Uint32 t, p;
        int temp_before, temp4;
        bool draws;
    } cases[] = {
        {18999, 1200, 0, 0, true},
        {18999, 1999, 0, 0, true},
        {18999, 1999, 2, 3, true},
        {19000, 1199, 0, 0, true},
        {19000, 1200, 0, 0, false},
        {19000, 1999, 0, 0, false},
        {19000, 1500, 1, 2, false},
        {19000, 1500, 0, 5, true},  // no cuts after the fifth
    };
    for (const auto &c : cases) {
        SCOPED_TRACE("t = " + std::to_string(c.t) + ", p = " + std::to_string(c.p) +
                     ", temp4 = " + std::to_string(c.temp4));
        SDL_FillRect(screen, NULL, MARKER);
        temp = c.temp_before;
        temp4 = c.temp4;
        pass_at(c.t, c.p);
        EXPECT_EQ(!screen_is(MARKER), c.draws);
        EXPECT_EQ(temp4, c.temp4);
        EXPECT_EQ(paskanakki, 0);
        EXPECT_TRUE(fake::sounds.empty());
        if (!c.draws) {
            EXPECT_EQ(temp, c.temp_before);
        }
    }
}

TEST_F(Skene5, CutBlacksTheScreenThenShowsItsPictureAndOnlyTheFirstPlaysTheSample)
{
    temp = 0;
    pass_at(20000, 1200);
    EXPECT_TRUE(screen_is(0));
    EXPECT_EQ(temp, 1);
    EXPECT_EQ(temp4, 1);
    EXPECT_EQ(paskanakki, 1);
    ASSERT_EQ(fake::sounds.size(), 1u);
    EXPECT_EQ(fake::sounds[0].chunk, &sample);
    EXPECT_EQ(fake::sounds[0].at, 20000u);

    pass(20001);
    EXPECT_EQ(temp, 2);
    EXPECT_EQ(pixel(screen, 250, 0), tagged_word(7, 0, 0));
    EXPECT_EQ(pixel(screen, 253, 2), tagged_word(7, 3, 2));
    EXPECT_EQ(pixel(screen, 249, 0), 0u);
    EXPECT_EQ(pixel(screen, 254, 0), 0u);
    EXPECT_EQ(pixel(screen, 250, 3), 0u);
    EXPECT_EQ(temp_alue.x, 250);
    EXPECT_EQ(temp_alue.y, 0);

    // The cycle wraps: the picture goes, the strip comes back on black.
    pass(20800);
    EXPECT_EQ(temp, 0);
    EXPECT_EQ(pixel(screen, 250, 0), 0u);
    EXPECT_TRUE(shows_tag(6));

    // The next cut is silent.
    pass(22000);
    EXPECT_TRUE(screen_is(0));
    EXPECT_EQ(temp4, 2);
    EXPECT_EQ(paskanakki, 2);
    EXPECT_EQ(fake::sounds.size(), 1u);
}

TEST_F(Skene5, ScrollAfterACutClearsOnlyIfTheCutPictureWasDrawn)
{
    for (int cut_passes : {1, 2}) {
        SCOPED_TRACE(std::to_string(cut_passes) + " cut passes");
        temp = 0;
        pass_at(20000, 1999);
        if (cut_passes == 2)
            pass(20000);
        EXPECT_EQ(temp, cut_passes);
        set_pixel(screen, 600, 400, MARKER);
        pass(20001);  // the cycle wraps
        EXPECT_EQ(temp, 0);
        EXPECT_EQ(pixel(screen, 600, 400), cut_passes == 1 ? MARKER : 0u);
        EXPECT_EQ(pixel(screen, 250, 0), 0u);
    }
}

TEST_F(Skene5, RunWithItsCutsFinalStateAndHandOver)
{
    struct Case {
        Uint32 start;
        std::vector<Uint32> cuts;
    } cases[] = {
        // Tick 19000 falls on a cycle boundary: four cuts.
        {17000, {20200, 22200, 24200, 26200}},
        // Tick 19000 falls inside a cut part: the cut starts just after it.
        {17500, {19001, 20700, 22700, 24700, 26700}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("scene from " + std::to_string(c.start));
        fake::reset();
        SDL_FillRect(screen, NULL, MARKER);
        skene = 5;
        temp = -4;
        temp4 = paskanakki = kekelol = temp2 = 0;
        temp3 = c.start;

        std::vector<Uint32> cuts;
        std::string printed;
        Uint32 t = c.start;
        int still = -1;  // the offset the strip stands still at
        {
            fake::CaptureCout out;
            for (; skene == 5 && t < 30000; t++) {
                int before = temp4;
                pass(t);
                if (temp4 != before)
                    cuts.push_back(t);
                if (before == 5 && skene == 5) {
                    // The final state: clock restarted 100 ms after the cut,
                    // the strip still, the screen not cleared any more.
                    EXPECT_EQ(temp3, c.cuts.back() + 100);
                    if (still < 0) {
                        still = kekelol;
                        set_pixel(screen, 600, 400, MARKER);
                    }
                    ASSERT_EQ(kekelol, still);
                    EXPECT_EQ(temp, 1);
                    if (t < temp3) {
                        // The clock reads just below 2^32: the slide is
                        // tens of thousands of pixels left of the screen.
                        EXPECT_EQ(temp2, (int)((0u - (temp3 - t)) / 10));
                        EXPECT_LE((Sint16)(temp2 - 200), -26415);
                    } else {
                        EXPECT_EQ(temp2 - 200, (int)(t - temp3) / 10 - 200);
                    }
                }
            }
            printed = out.text();
        }
        EXPECT_EQ(cuts, c.cuts);
        EXPECT_EQ(t, 27002u) << "hand-over in the first pass past 27000";
        EXPECT_EQ(printed, "27001\n");
        EXPECT_EQ(skene, 7);
        EXPECT_EQ(temp3, 27001u);
        ASSERT_EQ(fake::sounds.size(), 1u);
        EXPECT_EQ(fake::sounds[0].at, c.cuts.front());
        if (c.cuts.size() == 5) {
            EXPECT_GE(still, 0);
            EXPECT_EQ(pixel(screen, 600, 400), MARKER) << "no clearing in the final state";
            EXPECT_FALSE(shows_tag(5)) << "the slide is far off the left edge";
        }
    }
}

TEST_F(Skene5, EndTestComesAfterTheDrawingOfTheSamePass)
{
    struct Case {
        const char *what;
        Uint32 p;
        int temp_before;
    } cases[] = {
        {"scroll", 500, 0},
        {"first cut pass", 1500, 0},
        {"cut picture pass", 1500, 1},
    };
    {
        fake::CaptureCout out;
        pass_at(27000, 500);
        EXPECT_EQ(out.text(), "");
        EXPECT_EQ(skene, 5) << "no hand-over at exactly 27000";
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SDL_FillRect(screen, NULL, MARKER);
        skene = 5;
        temp = c.temp_before;
        temp4 = 1;
        paskanakki = 1;
        {
            fake::CaptureCout out;
            pass_at(27001, c.p);
            EXPECT_EQ(out.text(), "27001\n");
        }
        EXPECT_EQ(skene, 7);
        EXPECT_EQ(temp3, 27001u);
        if (c.p == 500) {
            EXPECT_TRUE(shows_tag(6));
        } else if (c.temp_before == 0) {
            EXPECT_TRUE(screen_is(0));
        } else {
            EXPECT_EQ(pixel(screen, 250, 0), tagged_word(7, 0, 0));
        }
    }
}

TEST_F(Skene5, HandOverPrintsRestartsTheClockAndSkipsSlot6)
{
    temp = 0;
    temp3 = 29900;
    fake::set_clock(30000);
    fake::step_per_read = 1;
    std::string printed;
    {
        fake::CaptureCout out;
        skene5();
        printed = out.text();
    }
    // Readings: choice 30000, offset 30001, slide 30002, end test 30003,
    // the tick line 30004, the new clock base 30005.
    EXPECT_EQ(kekelol, 72);
    EXPECT_EQ(temp2, 10);
    EXPECT_EQ(printed, "30004\n");
    EXPECT_EQ(temp3, 30005u);
    EXPECT_EQ(skene, 7);
    EXPECT_TRUE(fake::sounds.empty());
    EXPECT_TRUE(shows_tag(6)) << "the hand-over does not clear";
}

TEST_F(Skene5, FifthCutRestartsTheClock100MsAfterItsOwnReading)
{
    temp = 0;
    temp4 = 4;
    paskanakki = 4;
    temp3 = 20000 - 1500;
    fake::set_clock(20000);
    fake::step_per_read = 1;
    skene5();
    // Readings: choice 20000, the further test 20001, the cut 20002, the
    // restart 20003, the end test 20004.
    EXPECT_EQ(temp4, 5);
    EXPECT_EQ(temp3, 20103u);
    EXPECT_TRUE(screen_is(0));
    EXPECT_TRUE(fake::sounds.empty());
}

TEST_F(Skene5, SlidingPictureTallerThanTheScreen)
{
    replace(5, tagged_picture(5, SLIDE_W, 600));  // row 240 - 300 = -60
    replace(6, tagged_picture(6, TILE_W, 100));
    pass_at(19000, 1000);  // offset 102, slide left edge -100: off screen
    // The first tile (at -104, -60) is clipped and leaves y at 0: the others
    // start at row 0 with their own top rows.
    EXPECT_EQ(pixel(screen, 0, 0), tagged_word(6, 104, 60));
    EXPECT_EQ(pixel(screen, 5, 39), tagged_word(6, 109, 99));
    EXPECT_EQ(pixel(screen, 0, 40), MARKER);
    for (int left : {102, 308, 514}) {
        EXPECT_EQ(pixel(screen, left, 0), tagged_word(6, 0, 0)) << left;
        EXPECT_EQ(pixel(screen, left + TILE_W - 1, 99), tagged_word(6, TILE_W - 1, 99)) << left;
        EXPECT_EQ(pixel(screen, left, 100), MARKER) << left;
    }
    EXPECT_FALSE(shows_tag(5));

    // The sliding picture itself stands at the row again, over the tiles.
    pass_at(19000, 3000);  // slide left edge 100
    EXPECT_EQ(pixel(screen, 100, 0), tagged_word(5, 0, 60));
    EXPECT_EQ(pixel(screen, 149, 479), tagged_word(5, 49, 539));
    EXPECT_EQ(pixel(screen, 150, 0), tagged_word(6, 48, 0));
}

TEST_F(Skene5, WithoutTheSlidingPictureTheStripCentresItself)
{
    replace(5, NULL);
    pass_at(19000, 500);
    const int row = 240 - TILE_H / 2;
    EXPECT_EQ(pixel(screen, 102, row), tagged_word(6, 0, 0));
    EXPECT_EQ(pixel(screen, 102, row + TILE_H - 1), tagged_word(6, 0, TILE_H - 1));
    EXPECT_EQ(pixel(screen, 102, row - 1), MARKER);
    EXPECT_EQ(temp2, 50);
}

TEST_F(Skene5, MissingPicturesStillCutAndHandOverOnTime)
{
    for (int missing : {5, 6, 7, -1}) {
        SCOPED_TRACE("missing " + std::to_string(missing));
        if (missing < 0)
            for (int i = 5; i <= 7; i++)
                replace(i, NULL);
        else
            replace(missing, NULL);
        skene = 5;
        temp = -4;
        temp4 = paskanakki = 0;
        temp3 = 17500;
        fake::sounds.clear();
        std::string printed;
        Uint32 t = 17500;
        {
            fake::CaptureCout out;
            for (; skene == 5 && t < 30000; t += 3)
                pass(t);
            printed = out.text();
        }
        EXPECT_EQ(temp4, 5);
        EXPECT_EQ(fake::sounds.size(), 1u);
        EXPECT_EQ(skene, 7);
        EXPECT_EQ(printed, std::to_string(t - 3) + "\n");
        EXPECT_GT(t - 3, 27000u);
        EXPECT_LE(t - 3, 27003u);
        // Restore the fixture for the next case.
        replace(5, tagged_picture(5, SLIDE_W, SLIDE_H));
        replace(6, tagged_picture(6, TILE_W, TILE_H));
        replace(7, tagged_picture(7, 4, 3));
    }
}

TEST(Skene6, DoesNothing)
{
    fake::reset();
    fake::reset_demo_state();
    skene6();
    EXPECT_EQ(fake::reads, 0);
    EXPECT_EQ(skene, 0);
    EXPECT_EQ(temp3, 0u);
}

}  // namespace
