// The whole demo, start-up to shut-down, in simulated time: the real main
// loop and the real scenes with the real media, under the scripted clock.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/globals.h"
#include "runtime/runtime.h"
#include "support/fake_sdl.h"

namespace {

TEST(WholeRun, PlaysEveryScenePrintsItsTickLinesAndStartsEverySampleInOrder)
{
    fake::reset();
    fake::reset_demo_state();

    // The clock stands still within a pass and moves 1 ms with each pass's
    // delay: passes run at 500, 501, 502, ... after the 500 ms start-up wait.
    std::vector<int> scenes;
    fake::on_delay = [&](Uint32 ms) {
        if (ms == 1 && (scenes.empty() || scenes.back() != skene))
            scenes.push_back(skene);
    };
    std::string output;
    int status;
    {
        InDir media(MEDIA_DIR);
        fake::CaptureCout out;
        status = demo_main();
        output = out.text();
    }
    EXPECT_EQ(status, 0);

    // Worked out from the scenes' rules for this clock:
    //  3001  intro: first pass whose scene clock (from 500) passes 2500
    //  7900  scene 1: past 3500 ms, at the first wave offset between -9 and -1
    //        (tick / 50 = 158, offset -4)
    //  10803 scene 2: slide to 8399, steps at 9000, 9601, 10202, out at 10803
    //  12003 scene 3: 1200 ms
    //  16004 scene 4: past 4000 ms; tajuu past 2000 ms, at 14004
    //  27001 scene 5: past absolute 27000; first cut at scene clock 3200
    //  31501 the limit
    EXPECT_EQ(output, "jee\n3001\n7900\n10803\n12003\n16004\n27001\n31501\n");
    EXPECT_EQ(scenes, (std::vector<int>{0, 1, 2, 3, 4, 5, 7}));

    ASSERT_EQ(fake::sounds.size(), 5u);
    const Mix_Chunk *order[5] = {vorsenna, valahdys, tajuu, soikkeli, lepikko};
    const Uint32 at[5] = {3001, 10803, 14004, 16004, 19204};
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(fake::sounds[i].chunk, order[i]) << "sample " << i;
        EXPECT_EQ(fake::sounds[i].at, at[i]) << "sample " << i;
    }
    // 31001 passes, a frame shown on passes 3, 5, ..., 31001.
    EXPECT_EQ(fake::flips, 15500);
    EXPECT_EQ(fake::music_volume, 25);
    EXPECT_EQ(fake::faded_in, metsa);
    EXPECT_EQ(temp4, 4) << "tick 19000 falls outside a cut part here: four cuts";
}

}  // namespace
