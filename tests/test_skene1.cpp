// Scene 1: the wave offset, the drifting picture, its two black bands and
// the hand-over to scene 2.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "runtime/globals.h"
#include "scenes/scenes.h"
#include "support/fake_sdl.h"

namespace {

const Uint32 kBackground = 0x123456;  // what earlier scenes left on screen

// A picture whose every pixel names its own position, never 0.
Uint32 word_of(int x, int y)
{
    return (Uint32)(x << 12 | y) + 1;
}

SDL_Surface *numbered_picture(int w, int h)
{
    SDL_Surface *s = make_picture(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            set_pixel(s, x, y, word_of(x, y));
    return s;
}

class Skene1 : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        SDL_FillRect(screen, NULL, kBackground);
        skene = 1;
    }
    void TearDown() override
    {
        if (kuvat[1])
            SDL_FreeSurface(kuvat[1]);
        DrawingTest::TearDown();
    }

    // One pass at absolute time `now`, `elapsed` ms into the scene, with the
    // clock standing still; returns what it printed.
    std::string pass_at(Uint32 now, Uint32 elapsed)
    {
        fake::set_clock(now);
        temp3 = now - elapsed;
        fake::CaptureCout out;
        skene1();
        return out.text();
    }
};

TEST_F(Skene1, WaveOffsetFollowsTheAbsoluteClockIn50msSteps)
{
    struct Case {
        Uint32 q;
        int offset;
    } cases[] = {
        {0, 0},   {10, 42}, {16, 49}, {31, 2},  {32, -2}, {33, -7},
        {34, -12}, {47, -49}, {61, -9}, {62, -4}, {63, 0},
    };
    kuvat[1] = numbered_picture(40, 20);
    for (const Case &c : cases) {
        SCOPED_TRACE("q = " + std::to_string(c.q));
        // The whole 50 ms step gives the same offset, whatever the scene clock.
        for (Uint32 now : {c.q * 50, c.q * 50 + 49}) {
            pass_at(now, 100);
            EXPECT_EQ(temp, c.offset);
        }
        pass_at(c.q * 50 + 20, 3000);
        EXPECT_EQ(temp, c.offset);
    }
    EXPECT_EQ(skene, 1);
}

TEST_F(Skene1, DrawsWithThePreviousPassesDrift)
{
    kuvat[1] = numbered_picture(300, 20);
    // First pass: temp2 is 0, so x = -100 even 3000 ms into the scene.
    pass_at(0, 3000);  // q = 0: offset 0, picture rows 230..249
    EXPECT_EQ(pixel(screen, 0, 230), word_of(100, 0));
    EXPECT_EQ(pixel(screen, 199, 249), word_of(299, 19));
    EXPECT_EQ(pixel(screen, 200, 240), kBackground);
    EXPECT_EQ(temp2, 120);

    // The next pass draws at 120 - 100 = 20; the columns left of it keep
    // what the first pass painted there.
    pass_at(40, 3024);
    EXPECT_EQ(pixel(screen, 20, 230), word_of(0, 0));
    EXPECT_EQ(pixel(screen, 19, 230), word_of(119, 0));
    EXPECT_EQ(pixel(screen, 319, 249), word_of(299, 19));
    EXPECT_EQ(temp2, 120) << "3024 / 25 rounds down";
}

TEST_F(Skene1, BandsAboveAndBelowThePicture)
{
    // Picture at x = 100 (temp2 = 200), 50 wide. Rows are given as first and
    // one-past-last.
    struct Case {
        Uint32 now;  // absolute clock: picks the offset
        int offset, h;
        int upper_top, pic_top, lower_top, lower_end;
    } cases[] = {
        {0, 0, 21, 210, 230, 250, 250},      // offset 0: no lower band
        {10, 0, 20, 210, 230, 250, 250},
        {500, 42, 21, 210, 272, 292, 334},   // odd: band takes the last row 292
        {2350, -49, 20, 112, 181, 201, 250}, // even: band starts just below
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("offset " + std::to_string(c.offset) + ", height " + std::to_string(c.h));
        SDL_FillRect(screen, NULL, kBackground);
        kuvat[1] = numbered_picture(50, c.h);
        temp2 = 200;
        pass_at(c.now, 1000);
        ASSERT_EQ(temp, c.offset);
        int pic_end = c.pic_top + c.h;
        for (int y = c.upper_top - 2; y < std::max(c.lower_end, pic_end) + 2; y++) {
            Uint32 want = kBackground;
            if (y >= c.lower_top && y < c.lower_end)
                want = 0;
            else if (y >= c.pic_top && y < pic_end)
                want = word_of(49, y - c.pic_top);
            else if (y >= c.upper_top && y < c.pic_top)
                want = 0;
            EXPECT_EQ(pixel(screen, 149, y), want) << "row " << y;
            EXPECT_EQ(pixel(screen, 150, y), kBackground) << "row " << y;
            EXPECT_EQ(pixel(screen, 99, y), kBackground) << "row " << y;
        }
        SDL_FreeSurface(kuvat[1]);
        kuvat[1] = NULL;
    }
}

TEST_F(Skene1, EndsOnlyAfter3500WithTheOffsetFromMinus9ToMinus1)
{
    struct Case {
        Uint32 q;
        int offset;
        Uint32 elapsed;
        bool ends;
    } cases[] = {
        {32, -2, 2000, false},  {61, -9, 3500, false},  // in range, too early
        {33, -7, 3501, true},   {62, -4, 9000, true},   {159, -9, 3501, true},
        {32, -2, 3501, true},
        {157, 0, 3600, false},  {222, -10, 3600, false},
        {34, -12, 3600, false}, {156, 5, 3600, false},  {10, 42, 3600, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("q = " + std::to_string(c.q) + ", elapsed " + std::to_string(c.elapsed));
        skene = 1;
        std::string printed = pass_at(c.q * 50, c.elapsed);
        EXPECT_EQ(temp, c.offset);
        EXPECT_EQ(skene, c.ends ? 2 : 1);
        EXPECT_EQ(printed, c.ends ? std::to_string(c.q * 50) + "\n" : "");
        EXPECT_EQ(temp2, c.ends ? 630 : (int)(c.elapsed / 25));
    }
}

TEST_F(Skene1, HandOverPrintsThenRestartsTheClockAndLeaves630)
{
    kuvat[1] = numbered_picture(40, 20);
    // Every reading a millisecond later: wave 1600 (q = 32, offset -2),
    // drift 1601, end test 1602, tick line 1603, new clock base 1604.
    temp3 = 1600 - 4000;
    fake::set_clock(1600);
    fake::step_per_read = 1;
    std::string printed;
    {
        fake::CaptureCout out;
        skene1();
        printed = out.text();
    }
    EXPECT_EQ(printed, "1603\n");
    EXPECT_EQ(temp3, 1604u);
    EXPECT_EQ(fake::reads, 5);
    EXPECT_EQ(temp2, 630) << "the drift of 4001 / 25 is replaced";
    EXPECT_EQ(temp, -2);
    EXPECT_EQ(skene, 2);
    EXPECT_TRUE(fake::sounds.empty());
}

TEST_F(Skene1, SceneStartedAt4000EndsAt7900)
{
    kuvat[1] = numbered_picture(64, 32);
    temp3 = 4000;
    std::string printed;
    Uint32 now = 4000;
    {
        fake::CaptureCout out;
        for (; skene == 1 && now < 12000; now++) {
            fake::set_clock(now);
            skene1();
        }
        printed = out.text();
    }
    EXPECT_EQ(printed, "7900\n");
    EXPECT_EQ(temp, -4);
    EXPECT_EQ(temp2, 630);
    // The last pass drew at 3899 / 25 - 100 = 55 with offset -4: picture
    // rows 220..251, bands on 196..219 and 252..255.
    EXPECT_EQ(pixel(screen, 55, 220), word_of(0, 0));
    EXPECT_EQ(pixel(screen, 118, 251), word_of(63, 31));
    EXPECT_EQ(pixel(screen, 118, 196), 0u);
    EXPECT_EQ(pixel(screen, 118, 219), 0u);
    EXPECT_EQ(pixel(screen, 118, 252), 0u);
    EXPECT_EQ(pixel(screen, 118, 255), 0u);
}

TEST_F(Skene1, WithoutItsPictureDrawsNothingAndStillEndsOnTime)
{
    kuvat[1] = NULL;
    pass_at(3300, 3000);  // q = 66
    EXPECT_EQ(skene, 1);
    EXPECT_EQ(temp2, 120);
    EXPECT_EQ(pass_at(1650, 3501), "1650\n");  // q = 33, offset -7
    EXPECT_EQ(skene, 2);
    EXPECT_EQ(temp2, 630);
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 640; x += 7)
            ASSERT_EQ(pixel(screen, x, y), kBackground) << x << "," << y;
}

}  // namespace
