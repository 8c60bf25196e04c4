// Scene 4: the rotozoomed picture, its two samples and its hand-over.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "effects/effects.h"
#include "runtime/globals.h"
#include "scenes/scenes.h"
#include "support/fake_sdl.h"

namespace {

const Uint32 START = 10000;  // temp3: the scene's start

// The zoom and angle the scene shows at scene clock e (below 4001).
void phase(int e, float *zoom, float *angle)
{
    double z = 4 - e / 1000.0, a = 0;
    if (e < 500)
        a = std::sin(e * 12.56 / 500) * ((500 - e) * 0.03 / 500);
    else if (e >= 2500 && e < 4000)
        a = std::sin(e * 25.12 / 500) * (std::sin((e - 2500) * 3.14 / 1500) * 0.1);
    else if (e == 4000)
        z = 0;
    *zoom = (float)z;
    *angle = (float)a;
}

class RotozoomScene : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        skene = 4;
        temp3 = START;
        tajuu = &tajuu_sample;
        soikkeli = &soikkeli_sample;
        // A numbered picture, no word 0.
        kuvat[4] = make_picture(160, 120);
        for (int y = 0; y < 120; y++)
            for (int x = 0; x < 160; x++)
                set_pixel(kuvat[4], x, y, (Uint32)(x << 12 | y) + 1);
    }
    void TearDown() override
    {
        if (kuvat[4])
            SDL_FreeSurface(kuvat[4]);
        DrawingTest::TearDown();
    }

    // The samples started so far, by name.
    std::string played() const
    {
        std::string names;
        for (const fake::SoundStart &s : fake::sounds)
            names += s.chunk == &tajuu_sample ? "tajuu " : s.chunk == &soikkeli_sample ? "soikkeli " : "? ";
        return names;
    }

    Mix_Chunk tajuu_sample{}, soikkeli_sample{};
};

TEST_F(RotozoomScene, EachPassShowsThePhaseTablesZoomAndAngleContinuousAcrossPhases)
{
    const int times[] = {0, 120, 250, 499, 500, 1000, 2000, 2499, 2500, 2600, 3000, 3250, 3500, 3999, 4000};
    std::vector<std::vector<Uint32>> shown;
    SDL_Surface *expected = make_picture(640, 480);
    for (int e : times) {
        SCOPED_TRACE(e);
        SDL_FillRect(screen, NULL, 0x00abcdefu);
        fake::set_clock(START + (Uint32)e);
        skene4();
        EXPECT_EQ(skene, 4);
        shown.push_back(screen_words());

        float zoom, angle;
        phase(e, &zoom, &angle);
        SDL_Surface *display_surface = screen;
        screen = expected;
        SDL_FillRect(screen, NULL, 0x00abcdefu);
        rotozoom(kuvat[4], zoom, angle, 1);
        std::vector<Uint32> want = screen_words();
        screen = display_surface;
        EXPECT_TRUE(shown.back() == want) << "zoom " << zoom << ", angle " << angle;
    }
    SDL_FreeSurface(expected);

    // No jump at the phase boundaries: 3.501 and 3.5, 1.501 and 1.5 give
    // the same steps, and the angle is near 0 on both sides.
    EXPECT_TRUE(shown[3] == shown[4]) << "499 and 500 ms";
    EXPECT_TRUE(shown[7] == shown[8]) << "2499 and 2500 ms";
    float zoom, angle;
    phase(500, &zoom, &angle);
    EXPECT_EQ(zoom, 3.5f);
    phase(2500, &zoom, &angle);
    EXPECT_EQ(zoom, 1.5f);
    EXPECT_EQ(angle, 0.0f);
    phase(499, &zoom, &angle);
    EXPECT_LT(std::fabs(angle), 1e-5f);
    // Zoom 4 fills the screen; at exactly 4000 ms zoom 0 shows black.
    EXPECT_NE(shown[0][0], 0u);
    EXPECT_NE(shown[0][640 * 480 - 1], 0u);
    for (Uint32 word : shown.back())
        ASSERT_EQ(word, 0u);
}

TEST_F(RotozoomScene, TajuuStartsExactlyOnce)
{
    struct Case {
        std::string name;
        // Per pass: its readings of the scene clock, or one value for all.
        std::vector<std::vector<Uint32>> passes;
        int pass_with_sample;
    } cases[] = {
        {"passes at 1999, 2000, 2001, 2002, 3000", {{1999}, {2000}, {2001}, {2002}, {3000}}, 2},
        {"a pass that starts at 1990 and reads 2005", {{1980}, {1990, 2005, 2005}, {2010}, {3900}}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        temp2 = 0;
        int pass = 0, sample_pass = -1;
        for (const std::vector<Uint32> &readings : c.passes) {
            fake::set_clock(START + readings.back());
            if (readings.size() > 1) {
                std::vector<Uint32> ticks;
                for (Uint32 e : readings)
                    ticks.push_back(START + e);
                fake::script_readings(ticks);
            }
            skene4();
            if (sample_pass < 0 && !fake::sounds.empty())
                sample_pass = pass;
            pass++;
        }
        EXPECT_EQ(played(), "tajuu ");
        EXPECT_EQ(sample_pass, c.pass_with_sample);
        EXPECT_EQ(temp2, 1);
        EXPECT_EQ(skene, 4);
    }
}

TEST_F(RotozoomScene, APassFromBelow2000ToPast4000PlaysBothSamplesInOrderAndEnds)
{
    temp2 = 0;
    temp_alue = {5, 6, 7, 8};
    fake::set_clock(START + 4003);
    fake::step_per_read = 1;
    fake::script_readings({START + 1500, START + 4001, START + 4002});
    std::string printed;
    {
        fake::CaptureCout out;
        skene4();
        printed = out.text();
    }
    EXPECT_EQ(played(), "tajuu soikkeli ");
    // soikkeli starts just before the print reading; the new clock base is
    // read after the print.
    const Uint32 tick = (Uint32)std::stoul(printed);
    EXPECT_EQ(printed, std::to_string(tick) + "\n");
    ASSERT_EQ(fake::sounds.size(), 2u);
    EXPECT_EQ(fake::sounds[1].at, tick);
    EXPECT_EQ(temp3, tick + 1);
    EXPECT_EQ(temp2, 0);
    EXPECT_EQ(skene, 5);
    EXPECT_EQ(temp_alue.x, 0);
    EXPECT_EQ(temp_alue.y, 0);
    EXPECT_EQ(temp_alue.w, 640);
    EXPECT_EQ(temp_alue.h, 480);
    for (Uint32 word : screen_words())
        ASSERT_EQ(word, 0u) << "the frame of the last pass is never shown";
}

TEST_F(RotozoomScene, EndsOnlyAfter4000AndWithoutItsPictureStillEndsOnTime)
{
    for (bool with_picture : {true, false}) {
        SCOPED_TRACE(with_picture ? "with picture" : "without picture");
        fake::reset();
        skene = 4;
        temp2 = 0;
        temp3 = START;
        if (!with_picture) {
            SDL_FreeSurface(kuvat[4]);
            kuvat[4] = NULL;
        }
        SDL_FillRect(screen, NULL, 0x00123456u);
        fake::CaptureCout out;
        for (Uint32 e : {0u, 1000u, 2500u, 3999u, 4000u}) {
            fake::set_clock(START + e);
            skene4();
        }
        EXPECT_EQ(skene, 4);
        EXPECT_EQ(out.text(), "");
        if (!with_picture) {
            EXPECT_EQ(pixel(screen, 320, 239), 0x00123456u) << "nothing drawn without the picture";
        }
        fake::set_clock(START + 4001);
        skene4();
        EXPECT_EQ(skene, 5);
        EXPECT_EQ(out.text(), std::to_string(START + 4001) + "\n");
        EXPECT_EQ(temp3, START + 4001);
        EXPECT_EQ(played(), "tajuu soikkeli ");
        EXPECT_EQ(pixel(screen, 320, 239), 0u);
    }
}

}  // namespace
