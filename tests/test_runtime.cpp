// The start-up, the main loop's cadence and limit, quitting, shut-down and
// loading, driven through the real demo_main under the scripted clock.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/globals.h"
#include "runtime/runtime.h"
#include "scenes/scenes.h"
#include "support/fake_sdl.h"

namespace {

// What the stand-in scene saw on each of its calls.
std::vector<long> flips_seen;

void counting_scene()
{
    flips_seen.push_back(fake::flips);
}

class MainLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::reset();
        fake::reset_demo_state();
        flips_seen.clear();
        for (int i = 0; i < 8; i++)
            skenet[i] = counting_scene;
    }
    void TearDown() override { fake::reset_demo_state(); }

    // Runs the demo in an empty folder: no media, so it runs silent.
    int run()
    {
        InDir here(empty.path());
        fake::CaptureCout out;
        int status = demo_main();
        output = out.text();
        return status;
    }

    TempDir empty;
    std::string output;
};

TEST_F(MainLoop, StartsUpInOrderAndFlipsOnPassThreeThenEverySecondPass)
{
    // Escape goes down after the eighth pass's delay: the ninth pass ends it.
    int passes = 0;
    fake::on_delay = [&](Uint32 ms) {
        if (ms == 1 && ++passes == 8)
            fake::escape_down = true;
    };
    EXPECT_EQ(run(), 0);

    EXPECT_EQ(fake::delays.front(), 500u);
    EXPECT_EQ(temp3, 500u) << "the first scene clock starts after the wait and loading";
    EXPECT_EQ(fake::music_volume, 25);
    EXPECT_EQ(fake::fade_calls, 1);
    EXPECT_EQ(fake::fade_loops, -1);
    EXPECT_EQ(fake::fade_ms, 2000);
    // Flips done before each scene call: pass 3 is the first to show its frame.
    EXPECT_EQ(flips_seen, (std::vector<long>{0, 0, 0, 1, 1, 2, 2, 3, 3}));
    EXPECT_EQ(fake::flips, 4);  // passes 3, 5, 7 and 9
    EXPECT_EQ(output, "eimetsaa\n") << "a quit is not followed by the final tick line";
}

TEST_F(MainLoop, ClockAlreadyPastTheLimitCallsTheSceneOnceAndNeverFlips)
{
    fake::set_clock(40000);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(flips_seen.size(), 1u);
    EXPECT_EQ(fake::flips, 0);
    // 40000 + 500 ms wait + the pass's 1 ms delay.
    EXPECT_EQ(output, "eimetsaa\n40501\n");
}

TEST_F(MainLoop, RunsUntilTheTickCountPasses31500)
{
    EXPECT_EQ(run(), 0);
    // Passes start at 500, 501, ...; the pass that starts at 31500 delays to
    // 31501, which passes the limit: 31001 passes, 15500 frames shown.
    EXPECT_EQ(flips_seen.size(), 31001u);
    EXPECT_EQ(fake::flips, 15500);
    EXPECT_EQ(output, "eimetsaa\n31501\n");
    EXPECT_EQ(paalla, 0);
}

TEST_F(MainLoop, LimitPassedInTheQuitPassStillPrintsTheTickLine)
{
    fake::set_clock(31000);
    fake::queue_event(SDL_QUIT);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(flips_seen.size(), 1u);
    EXPECT_EQ(output, "eimetsaa\n31501\n");
}

TEST_F(MainLoop, QueuedQuitTakesEffectWhenItReachesTheHeadOfTheQueue)
{
    fake::queue_event(SDL_KEYDOWN);
    fake::queue_event(SDL_MOUSEMOTION);
    fake::queue_event(SDL_QUIT);
    fake::queue_event(SDL_KEYUP);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(flips_seen.size(), 3u);
    EXPECT_EQ(output, "eimetsaa\n");
}

TEST_F(MainLoop, EscapeHeldEndsTheRunInTheNextPassEvenWithEventsQueued)
{
    for (int i = 0; i < 10; i++)
        fake::queue_event(SDL_MOUSEMOTION);
    int passes = 0;
    fake::on_delay = [&](Uint32 ms) {
        if (ms == 1 && ++passes == 2)
            fake::escape_down = true;
    };
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(flips_seen.size(), 3u);
    EXPECT_EQ(fake::flips, 1);
}

TEST_F(MainLoop, AQuitEventStaysInTheRecordWhenTheQueueRunsDry)
{
    // The record keeps the last event taken, so the test sees it again; the
    // run ends once either way, in the pass that took the quit.
    fake::queue_event(SDL_QUIT);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(flips_seen.size(), 1u);
    EXPECT_EQ(tapahtuma.type, SDL_QUIT);
}

TEST_F(MainLoop, UndisturbedRunPrintsTheMusicLineThenTheTickLines)
{
    // The real intro hands over to a slot that never ends: the run prints the
    // music line, the intro's tick line and the final tick line.
    skenet[0] = intro;
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(output, "eimetsaa\n3001\n31501\n");
    EXPECT_EQ(skene, 1);
}

TEST(VideoMode, NoUsableDriverPrintsOneLineAndExitsWithStatusOne)
{
    fake::reset();
    fake::reset_demo_state();
    const char *old = getenv("SDL_VIDEODRIVER");
    std::string saved = old ? old : "";
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStderr();
    int status;
    {
        fake::CaptureCout out;
        status = demo_main();
        EXPECT_EQ(out.text(), "");
    }
    std::string err = testing::internal::GetCapturedStderr();
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);

    EXPECT_EQ(status, 1);
    EXPECT_EQ(fake::delays.size(), 0u) << "nothing after the failed mode set";
    ASSERT_FALSE(err.empty());
    EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line: " << err;
    EXPECT_NE(err.find("video mode"), std::string::npos) << err;
}

}  // namespace
