// Loading the picture and sound catalogue from the working directory.
#include <string>

#include <gtest/gtest.h>

#include "runtime/globals.h"
#include "runtime/runtime.h"
#include "support/fake_sdl.h"

namespace {

const Uint32 RED = 0xff0000;
const Uint32 GREY = 0x404040;

class Loading : public DrawingTest {
protected:
    void TearDown() override
    {
        release_pics();
        DrawingTest::TearDown();
    }

    // A 4x3 picture, black in its top-left corner and red elsewhere, saved
    // as BMP under the catalogue name: the loader goes by content.
    void write_picture(int slot)
    {
        SDL_Surface *s = make_picture(4, 3, RED);
        set_pixel(s, 0, 0, 0);
        SDL_SaveBMP(s, dir.file(ladattavat_kuvat[slot]).c_str());
        SDL_FreeSurface(s);
    }

    TempDir dir;
};

TEST_F(Loading, BlackShowsThroughOnlyOnTheKeyedSlots)
{
    for (int i = 0; i < 12; i++)
        write_picture(i);
    {
        InDir here(dir.path());
        lataas_kuvat();
    }
    const bool keyed[12] = {false, false, true, true, false, true, false, false, false, true, true, true};
    for (int i = 0; i < 12; i++) {
        ASSERT_NE(kuvat[i], nullptr) << "slot " << i;
        EXPECT_EQ(kuvat[i]->w, 4);
        EXPECT_EQ(kuvat[i]->format->BytesPerPixel, 4);
        EXPECT_EQ(kuvat[i]->flags & SDL_RLEACCEL, 0u) << "slot " << i;
        SDL_FillRect(screen, NULL, GREY);
        temp_alue.x = 10;
        temp_alue.y = 20;
        SDL_BlitSurface(kuvat[i], NULL, screen, &temp_alue);
        EXPECT_EQ(pixel(screen, 10, 20), keyed[i] ? GREY : 0u) << "slot " << i;
        EXPECT_EQ(pixel(screen, 11, 20), RED) << "slot " << i;
    }
}

TEST_F(Loading, MissingEmptyOrBrokenPicturesLeaveTheirSlotsEmpty)
{
    for (int i = 0; i < 12; i++)
        write_picture(i);
    std::remove(dir.file("lumovalogo.gif").c_str());
    write_file(dir.file("lumova1.gif"), "");
    write_file(dir.file("mystikko.gif"), "GIF89a\x10\x00");
    write_file(dir.file("blood.png"), "this is not a picture");
    {
        InDir here(dir.path());
        lataas_kuvat();
    }
    for (int i : {0, 1, 2, 11})
        EXPECT_EQ(kuvat[i], nullptr) << "slot " << i;
    for (int i : {3, 4, 5, 6, 7, 8, 9, 10})
        EXPECT_NE(kuvat[i], nullptr) << "slot " << i;
}

TEST_F(Loading, MusicLineSaysWhetherTheMusicLoaded)
{
    Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024);
    {
        InDir here(dir.path());
        fake::CaptureCout out;
        lataas_musat();
        EXPECT_EQ(out.text(), "eimetsaa\n");
    }
    EXPECT_EQ(metsa, nullptr);
    EXPECT_EQ(vorsenna, nullptr);
    EXPECT_EQ(lepikko, nullptr);
    // The decoder would take any bytes as music and play silence: files that
    // do not begin like MP3 are not music.
    for (std::string bytes : {std::string(), std::string(4096, 'x'), read_file(std::string(MEDIA_DIR) + "/blood.png")}) {
        write_file(dir.file("soikkelimetsa.mp3"), bytes);
        InDir here(dir.path());
        fake::CaptureCout out;
        lataas_musat();
        EXPECT_EQ(out.text(), "eimetsaa\n");
        EXPECT_EQ(metsa, nullptr);
    }
    {
        InDir here(MEDIA_DIR);
        fake::CaptureCout out;
        lataas_musat();
        EXPECT_EQ(out.text(), "jee\n");
    }
    EXPECT_NE(metsa, nullptr);
    for (Mix_Chunk *sample : {vorsenna, valahdys, tajuu, soikkeli, lepikko}) {
        EXPECT_NE(sample, nullptr);
        Mix_FreeChunk(sample);
    }
    // The demo leaves these to the end of the process; the test lets go of
    // them before the globals are cleared.
    Mix_FreeMusic(metsa);
    Mix_CloseAudio();
}

}  // namespace
