// Scene 2: the slide of picture 2, its wiping band, the four stamps of
// picture 3 and the hand-over to scene 3.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/globals.h"
#include "scenes/scenes.h"
#include "support/fake_sdl.h"

namespace {

const Uint32 kBackground = 0x123456;  // what earlier scenes left on screen
const Uint32 kSlider = 0x00aa00;      // picture 2, 20 x 10
const Uint32 kStamp = 0xcc0000;       // picture 3, 10 x 10

struct Place {
    int x, y;
};
const Place kStamps[4] = {{490, 0}, {334, 40}, {325, 1}, {550, 300}};

// A one-colour picture with black as its colour key and one black pixel at
// (3, 3), through which the screen shows.
SDL_Surface *keyed_picture(int w, int h, Uint32 fill)
{
    SDL_Surface *s = make_picture(w, h, fill);
    set_pixel(s, 3, 3, 0);
    SDL_SetColorKey(s, SDL_SRCCOLORKEY, 0);
    return s;
}

class Skene2 : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        SDL_FillRect(screen, NULL, kBackground);
        kuvat[2] = keyed_picture(20, 10, kSlider);
        kuvat[3] = keyed_picture(10, 10, kStamp);
        valahdys = &sample;
        skene = 2;
        temp2 = 630;  // as scene 1 leaves it
        temp3 = kStart;
    }
    void TearDown() override
    {
        for (int i : {2, 3})
            if (kuvat[i])
                SDL_FreeSurface(kuvat[i]);
        DrawingTest::TearDown();
    }

    // One pass with the clock standing still `elapsed` ms into the scene.
    std::string pass_at(Uint32 elapsed)
    {
        fake::set_clock(kStart + elapsed);
        fake::CaptureCout out;
        skene2();
        return out.text();
    }

    // Which stamps are on screen, by their top-left pixel.
    int stamps_shown()
    {
        int n = 0;
        for (const Place &p : kStamps)
            n += pixel(screen, p.x, p.y) == kStamp;
        return n;
    }

    static const Uint32 kStart = 10000;
    Mix_Chunk sample{};
};

TEST_F(Skene2, SlidePositions)
{
    struct Case {
        Uint32 e;
        int x;
    } cases[] = {
        {0, 640},   {1, 639},   {10, 633},  {100, 570}, {483, 301},
        {490, 297}, {497, 292}, {498, 291}, {499, 290},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("e = " + std::to_string(c.e));
        tempora[0] = 2;
        pass_at(c.e);
        EXPECT_EQ(temp2, c.x);
        EXPECT_EQ(tempora[0], 0);
        EXPECT_EQ(tempora[1], (int)(kStart + c.e));
    }
    // The phase test reads 499 and the position read 501.
    fake::set_clock(kStart + 501);
    fake::script_readings({kStart + 499});
    skene2();
    EXPECT_EQ(temp2, 289);
    EXPECT_EQ(tempora[1], (int)(kStart + 501));
    EXPECT_EQ(stamps_shown(), 0);
}

TEST_F(Skene2, At499StillSlidesAt500StampsAndStops)
{
    pass_at(499);
    EXPECT_EQ(temp2, 290);
    EXPECT_EQ(stamps_shown(), 0);
    EXPECT_EQ(fake::reads, 3);

    pass_at(500);
    EXPECT_EQ(temp2, 290) << "the picture rests where the last slide put it";
    EXPECT_EQ(tempora[0], 0);
    EXPECT_EQ(tempora[1], (int)(kStart + 499));
    EXPECT_EQ(pixel(screen, kStamps[0].x, kStamps[0].y), kStamp);
    EXPECT_EQ(stamps_shown(), 1);
}

TEST_F(Skene2, FirstPassesDrawAt630ThenLeaveTheScreen)
{
    pass_at(0);
    EXPECT_EQ(pixel(screen, 630, 0), kSlider);
    EXPECT_EQ(pixel(screen, 639, 9), kSlider);
    EXPECT_EQ(pixel(screen, 629, 0), kBackground);
    EXPECT_EQ(temp2, 640);

    // At 640 nothing is on screen: the ten columns stay as they were.
    pass_at(1);
    EXPECT_EQ(pixel(screen, 630, 0), kSlider);
    EXPECT_EQ(temp2, 639);
    pass_at(2);
    EXPECT_EQ(pixel(screen, 639, 0), kSlider);
}

TEST_F(Skene2, BandWipesRightOfThePictureAndBlackShowsThrough)
{
    temp2 = 300;
    tempora[1] = (int)(kStart + 1000);
    pass_at(1000);
    // Picture 2 on columns 300..319, rows 0..9; band on 320..419.
    EXPECT_EQ(pixel(screen, 300, 0), kSlider);
    EXPECT_EQ(pixel(screen, 319, 9), kSlider);
    EXPECT_EQ(pixel(screen, 303, 3), kBackground) << "colour key";
    EXPECT_EQ(pixel(screen, 299, 0), kBackground);
    EXPECT_EQ(pixel(screen, 300, 10), kBackground);
    for (int x : {320, 370, 419})
        for (int y : {0, 9})
            EXPECT_EQ(pixel(screen, x, y), 0u) << x << "," << y;
    EXPECT_EQ(pixel(screen, 420, 0), kBackground);
    EXPECT_EQ(pixel(screen, 320, 10), kBackground);
    // The first stamp, with its own see-through pixel.
    EXPECT_EQ(pixel(screen, 499, 9), kStamp);
    EXPECT_EQ(pixel(screen, 493, 3), kBackground);
    EXPECT_EQ(pixel(screen, 500, 0), kBackground);
}

TEST_F(Skene2, AStepNeeds601msAndItsStampIsDrawnAtOnce)
{
    const Uint32 now = kStart + 1500;
    for (int step = 0; step < 4; step++) {
        for (Uint32 gap : {600u, 601u}) {
            SCOPED_TRACE("step " + std::to_string(step) + ", gap " + std::to_string(gap));
            SDL_FillRect(screen, NULL, kBackground);
            skene = 2;
            temp2 = 300;
            tempora[0] = step;
            tempora[1] = (int)(now - gap);
            std::string printed = pass_at(1500);
            bool advances = gap == 601;
            if (step < 3) {
                EXPECT_EQ(tempora[0], advances ? step + 1 : step);
                EXPECT_EQ(tempora[1], (int)(advances ? now : now - gap));
                EXPECT_EQ(stamps_shown(), advances ? step + 2 : step + 1);
                EXPECT_EQ(skene, 2);
            } else {
                EXPECT_EQ(tempora[0], 3);
                EXPECT_EQ(tempora[1], (int)(now - gap));
                EXPECT_EQ(stamps_shown(), 4);
                EXPECT_EQ(skene, advances ? 3 : 2);
                EXPECT_EQ(printed, advances ? std::to_string(now) + "\n" : "");
            }
        }
    }
}

TEST_F(Skene2, FirstPassAlreadyPast500SkipsTheSlide)
{
    // tempora still holds zeros: the first step is long over.
    pass_at(500);
    EXPECT_EQ(temp2, 630);
    EXPECT_EQ(tempora[0], 1);
    EXPECT_EQ(tempora[1], (int)(kStart + 500));
    EXPECT_EQ(stamps_shown(), 2);
    EXPECT_EQ(pixel(screen, 630, 0), kSlider);
    EXPECT_EQ(pixel(screen, 629, 0), kBackground);
    pass_at(700);
    EXPECT_EQ(temp2, 630);
    EXPECT_EQ(tempora[0], 1);
}

TEST_F(Skene2, HandOverPlaysTheSampleBeforeTheTickLine)
{
    tempora[0] = 3;
    tempora[1] = (int)(kStart + 2000);
    fake::set_clock(kStart + 2597);
    fake::step_per_read = 1;  // the end test reads 2601 ms after the step began
    std::string printed;
    {
        fake::CaptureCout out;
        skene2();
        printed = out.text();
    }
    Uint32 tick = kStart + 2602;
    EXPECT_EQ(printed, std::to_string(tick) + "\n");
    ASSERT_EQ(fake::sounds.size(), 1u);
    EXPECT_EQ(fake::sounds[0].chunk, &sample);
    EXPECT_EQ(fake::sounds[0].at, tick) << "started before the tick reading";
    EXPECT_EQ(temp3, tick + 1);
    EXPECT_EQ(fake::reads, 7);
    EXPECT_EQ(temp2, 0);
    EXPECT_EQ(skene, 3);
    EXPECT_EQ(tempora[0], 3);
    EXPECT_EQ(tempora[1], (int)(kStart + 2000));
}

// Passes 1 ms apart from the scene's start: when each step begins and when
// the scene hands over, in scene time.
struct Timeline {
    std::vector<Uint32> steps;  // scene time at which tempora[0] became 1, 2, 3
    Uint32 handed_over = 0;
    std::string printed;
};

class Skene2Timeline : public Skene2 {
protected:
    Timeline run()
    {
        Timeline t;
        fake::CaptureCout out;
        int step = 0;
        for (Uint32 e = 0; skene == 2 && e < 5000; e++) {
            fake::set_clock(kStart + e);
            skene2();
            if (tempora[0] != step && skene == 2) {
                step = tempora[0];
                t.steps.push_back(e);
            }
            if (skene != 2)
                t.handed_over = e;
        }
        t.printed = out.text();
        return t;
    }
};

TEST_F(Skene2Timeline, StampsAbout600msApartThenHandsOver)
{
    Timeline t = run();
    EXPECT_EQ(t.steps, (std::vector<Uint32>{1100, 1701, 2302}));
    EXPECT_EQ(t.handed_over, 2903u);
    EXPECT_EQ(t.printed, std::to_string(kStart + 2903) + "\n");
    EXPECT_EQ(fake::sounds.size(), 1u);
    // What stays on screen: picture 2 resting at 290, the four stamps.
    EXPECT_EQ(pixel(screen, 290, 0), kSlider);
    EXPECT_EQ(pixel(screen, 289, 0), kBackground);
    EXPECT_EQ(pixel(screen, 310, 0), 0u);
    EXPECT_EQ(stamps_shown(), 4);
}

TEST_F(Skene2Timeline, WithoutItsPicturesDrawsNothingAndKeepsTime)
{
    SDL_FreeSurface(kuvat[2]);
    SDL_FreeSurface(kuvat[3]);
    kuvat[2] = kuvat[3] = NULL;
    Timeline t = run();
    EXPECT_EQ(t.steps, (std::vector<Uint32>{1100, 1701, 2302}));
    EXPECT_EQ(t.handed_over, 2903u);
    EXPECT_EQ(temp2, 0);
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 640; x += 7)
            ASSERT_EQ(pixel(screen, x, y), kBackground) << x << "," << y;
}

}  // namespace
