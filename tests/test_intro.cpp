// Scene 0: the centred logo, its dissolve and its hand-over.
#include <string>

#include <gtest/gtest.h>

#include "runtime/globals.h"
#include "scenes/scenes.h"
#include "support/fake_sdl.h"

namespace {

// A picture whose every pixel names its own position, never 0.
SDL_Surface *numbered_picture(int w, int h)
{
    SDL_Surface *s = make_picture(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            set_pixel(s, x, y, (Uint32)(x << 12 | y) + 1);
    return s;
}

Uint32 word_of(int x, int y)
{
    return (Uint32)(x << 12 | y) + 1;
}

class Intro : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        vorsenna = &sample;
    }
    void TearDown() override
    {
        if (kuvat[0])
            SDL_FreeSurface(kuvat[0]);
        DrawingTest::TearDown();
    }

    Mix_Chunk sample{};
};

TEST_F(Intro, CentresThePicture)
{
    struct Case {
        int w, h, x, y;
    } cases[] = {
        {300, 200, 170, 140},  // even: middle columns on 319 and 320
        {301, 201, 170, 140},  // odd: middle column 150 on column 320
        {1, 1, 320, 240},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        SDL_FillRect(screen, NULL, 0);
        kuvat[0] = numbered_picture(c.w, c.h);
        fake::set_clock(0);
        intro();
        EXPECT_EQ(temp_alue.x, c.x);
        EXPECT_EQ(temp_alue.y, c.y);
        EXPECT_EQ(pixel(screen, c.x, c.y), word_of(0, 0));
        EXPECT_EQ(pixel(screen, c.x + c.w - 1, c.y + c.h - 1), word_of(c.w - 1, c.h - 1));
        EXPECT_EQ(pixel(screen, 320, 240), word_of(320 - c.x, 240 - c.y));
        EXPECT_EQ(pixel(screen, c.x - 1, c.y), 0u);
        EXPECT_EQ(pixel(screen, c.x, c.y + c.h), 0u);
        SDL_FreeSurface(kuvat[0]);
        kuvat[0] = NULL;
    }
}

TEST_F(Intro, PictureLargerThanTheScreenIsClipped)
{
    kuvat[0] = numbered_picture(2000, 1500);
    intro();
    // x = 320 - 1000, y = 240 - 750: the screen shows the picture's middle.
    EXPECT_EQ(pixel(screen, 0, 0), word_of(680, 510));
    EXPECT_EQ(pixel(screen, 639, 479), word_of(1319, 989));
    EXPECT_EQ(temp_alue.x, 0);
    EXPECT_EQ(temp_alue.y, 0);
    EXPECT_EQ(temp_alue.w, 640);
    EXPECT_EQ(temp_alue.h, 480);
}

TEST_F(Intro, DissolvesOnlyAfter1000AndHandsOverOnlyAfter2500)
{
    kuvat[0] = make_picture(300, 200, 0xffffff);
    temp3 = 10000;
    fake::set_clock(11000);
    intro();
    EXPECT_EQ(pixel(kuvat[0], 0, 0), 0xffffffu) << "no dissolve at exactly 1000 ms";
    fake::set_clock(11001);
    intro();
    EXPECT_EQ(pixel(kuvat[0], 0, 0), 0u);
    fake::set_clock(12500);
    {
        fake::CaptureCout out;
        intro();
        EXPECT_EQ(out.text(), "");
    }
    EXPECT_EQ(skene, 0) << "no hand-over at exactly 2500 ms";
    EXPECT_TRUE(fake::sounds.empty());
}

TEST_F(Intro, HandOverPassDissolvesOncePlaysTheSamplePrintsAndAdvances)
{
    kuvat[0] = make_picture(300, 200, 0xffffff);
    temp3 = 1000;
    fake::set_clock(3501);
    fake::step_per_read = 1;  // every reading one millisecond later
    std::string printed;
    {
        fake::CaptureCout out;
        intro();
        printed = out.text();
    }
    int black = 0;
    for (int y = 0; y < 200; y++)
        for (int x = 0; x < 300; x++)
            black += pixel(kuvat[0], x, y) == 0;
    EXPECT_GT(black, 0) << "the hand-over pass dissolves once more";
    ASSERT_EQ(fake::sounds.size(), 1u);
    EXPECT_EQ(fake::sounds[0].chunk, &sample);
    // The sample starts at the moment of the print reading; the new clock
    // base is the reading after it.
    Uint32 tick = (Uint32)std::stoul(printed);
    EXPECT_EQ(printed, std::to_string(tick) + "\n");
    EXPECT_EQ(fake::sounds[0].at, tick);
    EXPECT_EQ(temp3, tick + 1);
    EXPECT_EQ(skene, 1);
}

TEST_F(Intro, WithoutItsPictureStillHandsOverOnTime)
{
    kuvat[0] = NULL;
    fake::set_clock(2500);
    intro();
    EXPECT_EQ(skene, 0);
    fake::set_clock(2501);
    {
        fake::CaptureCout out;
        intro();
        EXPECT_EQ(out.text(), "2501\n");
    }
    EXPECT_EQ(skene, 1);
    EXPECT_EQ(temp3, 2501u);
    EXPECT_EQ(pixel(screen, 320, 240), 0u);
}

}  // namespace
