// Scene 3: the starburst, the flash and the hand-over.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "effects/effects.h"
#include "runtime/globals.h"
#include "scenes/scenes.h"
#include "support/fake_sdl.h"

namespace {

const Uint32 WHITE = 0xffffff;
// An absolute tick count at which (t / 25) mod 1000 = 0: 40000 x 25.
const Uint32 T0 = 1000000;

struct Point {
    int x, y;
};

// The end point of line i for the direction multipliers kx and ky.
Point end_of(int i, Uint32 kx, Uint32 ky)
{
    const double a = (i / 80.0) * 3.14;
    const float fx = (float)(std::cos(kx * a) * 700.0);
    const float fy = (float)(std::sin(ky * a) * 700.0);
    return {470 + (int)fx, 200 + (int)fy};
}

class Starburst : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        skene = 3;
    }

    // The 160 line readings of a pass, all at tick t.
    static std::vector<Uint32> line_readings(Uint32 t)
    {
        return std::vector<Uint32>(160, t);
    }
};

TEST_F(Starburst, WithEveryMultiplierZeroAllEightyLinesPileUpAlongRow200)
{
    temp3 = T0;  // scene clock 0 throughout
    fake::set_clock(T0);
    skene3();
    EXPECT_EQ(fake::reads, 160 + 2) << "two readings per line, then the flash and end tests";
    int changed = 0;
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
            changed += pixel(screen, x, y) != 0;
    EXPECT_EQ(changed, 170);
    EXPECT_EQ(pixel(screen, 470, 200), 80u * 36666u);
    for (int x = 470; x <= 639; x++) {
        const Uint32 one = (Uint32)(20.0 / std::sqrt((double)((x - 470) * (x - 470) + 40000)) * 366666.0);
        ASSERT_EQ(pixel(screen, x, 200), 80u * one) << x;
    }
    EXPECT_EQ(skene, 3);
}

TEST_F(Starburst, EachLineTakesItsOwnTwoReadingsOfTheAbsoluteClock)
{
    // The fan for kx = ky = 2: once around the circle in 80 steps.
    EXPECT_EQ(end_of(1, 2, 2).x, 1167);
    EXPECT_EQ(end_of(1, 2, 2).y, 254);
    EXPECT_EQ(end_of(20, 2, 2).x, 470);
    EXPECT_EQ(end_of(20, 2, 2).y, 899);
    EXPECT_EQ(end_of(40, 2, 2).x, -229);
    EXPECT_EQ(end_of(40, 2, 2).y, 201);
    EXPECT_EQ(end_of(79, 2, 2).x, 1167);
    EXPECT_EQ(end_of(79, 2, 2).y, 143);

    // Lines 0 to 19 read 0; line 20 reads its x at 24 ms and its y at 25 ms
    // past the boundary, so kx = 0 and ky = 2; the rest read 2.
    std::vector<Uint32> readings(40, T0);
    readings.push_back(T0 + 24);
    readings.push_back(T0 + 25);
    fake::set_clock(T0 + 25);
    fake::script_readings(readings);
    temp3 = T0;  // the scene clock barely moves: no flash, no hand-over
    skene3();

    std::vector<Uint32> drawn = screen_words();
    SDL_FillRect(screen, NULL, 0);
    for (int i = 0; i < 80; i++) {
        const Uint32 kx = i < 21 ? 0 : 2, ky = i < 20 ? 0 : 2;
        const Point end = end_of(i, kx, ky);
        draw_line(470, 200, end.x, end.y);
    }
    EXPECT_TRUE(drawn == screen_words()) << "the pass draws the lines of those multipliers";
    // Line 20 runs to (1170, 899): neither (470, 899) nor (1170, 200).
    EXPECT_EQ(end_of(20, 0, 2).x, 1170);
    EXPECT_EQ(end_of(20, 0, 2).y, 899);
    EXPECT_NE(drawn[(200 + 140) * 640 + 470 + 140], 0u) << "a pixel on the way to (1170, 899)";
}

TEST_F(Starburst, FlashesOnlyStrictlyBetween1000And1200)
{
    struct Case {
        std::vector<Uint32> clock;  // the scene clock readings after the lines
        bool flash, hand_over;
        long reads;
    } cases[] = {
        {{1000, 1000}, false, false, 162},
        {{999, 1199}, false, false, 162},
        {{1001, 1001}, true, false, 162},
        {{1199, 1199}, true, false, 162},
        {{1200, 1200, 1200}, false, true, 165},
        // A pass that reads 1199 and then 1200: no flash, and it ends.
        {{1199, 1200, 1200}, false, true, 165},
        // After a pass at 1000 or less, the next reads past 1200: it ends
        // without a flash ever shown, also when its own first reading is
        // still below 1000.
        {{1350, 1351, 1352}, false, true, 165},
        {{999, 1300, 1300}, false, true, 164},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.clock[0]) + "," + std::to_string(c.clock[1]));
        fake::reset();
        skene = 3;
        temp3 = 5000;
        SDL_FillRect(screen, NULL, 0);
        std::vector<Uint32> readings = line_readings(T0);
        for (Uint32 e : c.clock)
            readings.push_back(temp3 + e);
        fake::set_clock(T0 + 2000);
        fake::script_readings(readings);
        fake::CaptureCout out;
        skene3();
        EXPECT_EQ(fake::reads, c.reads);
        EXPECT_EQ(pixel(screen, 0, 0), c.flash ? WHITE : 0u);
        EXPECT_EQ(pixel(screen, 470, 200), c.flash ? WHITE : c.hand_over ? 0u : 80u * 36666u);
        EXPECT_EQ(pixel(screen, 639, 479), c.flash ? WHITE : 0u);
        EXPECT_EQ(skene, c.hand_over ? 4 : 3);
        EXPECT_EQ(out.text().empty(), !c.hand_over);
    }
}

TEST_F(Starburst, HandOverPrintsAdvancesZeroesTemp2RestartsTheClockAndBlackensAfterTheLines)
{
    temp2 = 77;
    temp3 = 1000;
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
            set_pixel(screen, x, y, 0x00123456u);
    temp_alue = {5, 6, 7, 8};
    fake::set_clock(T0);
    fake::step_per_read = 1;
    std::string printed;
    {
        fake::CaptureCout out;
        skene3();
        printed = out.text();
    }
    // 160 line readings and three clock readings, then the print reading.
    const Uint32 tick = T0 + 163;
    EXPECT_EQ(printed, std::to_string(tick) + "\n");
    EXPECT_EQ(temp3, tick + 1) << "the new clock is read after the print";
    EXPECT_EQ(skene, 4);
    EXPECT_EQ(temp2, 0);
    EXPECT_EQ(temp_alue.x, 0);
    EXPECT_EQ(temp_alue.y, 0);
    EXPECT_EQ(temp_alue.w, 640);
    EXPECT_EQ(temp_alue.h, 480);
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
            ASSERT_EQ(pixel(screen, x, y), 0u) << x << "," << y;
    EXPECT_TRUE(fake::sounds.empty());
}

}  // namespace
