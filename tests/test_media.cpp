// The demo's own media files, loaded with the same calls the demo makes:
// pictures through IMG_Load and SDL_DisplayFormat, the music through
// Mix_LoadMUS and the samples through Mix_LoadWAV_RW. Checks the sizes the
// scenes are laid out for and the exact black that the colour key needs.
#include <cstdlib>
#include <string>

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

namespace {

std::string media(const char *name)
{
    return std::string(MEDIA_DIR) + "/" + name;
}

struct Point {
    int x, y;
};

struct ExpectedPicture {
    const char *file;
    int w, h;
    bool keyed;
    // background points (must be exact black when keyed) and subject
    // points (must not be black); unused entries have x = -1
    Point background[4];
    Point subject[2];
};

const Point NONE = {-1, -1};

// Slot order of the catalogue.
const ExpectedPicture PICTURES[12] = {
    {"lumovalogo.gif", 300, 200, false, {{0, 0}, {299, 199}, NONE, NONE}, {{150, 92}, NONE}},
    {"lumova1.gif", 160, 120, false, {{0, 0}, {159, 119}, NONE, NONE}, {{80, 68}, NONE}},
    {"mystikko.gif", 350, 150, true, {{0, 0}, {349, 0}, {0, 149}, {349, 149}}, {{175, 30}, {175, 126}}},
    {"blaa.gif", 90, 60, true, {{0, 0}, {89, 0}, {89, 59}, {1, 1}}, {{47, 10}, {25, 40}}},
    {"vors3.jpg", 640, 480, false, {NONE, NONE, NONE, NONE}, {{320, 240}, NONE}},
    {"lumova2.jpg", 200, 200, true, {{0, 0}, {199, 0}, {0, 199}, {199, 199}}, {{100, 84}, {100, 120}}},
    {"metsa.jpg", 206, 160, false, {NONE, NONE, NONE, NONE}, {{103, 80}, NONE}},
    {"lepikkorapu.jpg", 390, 480, false, {NONE, NONE, NONE, NONE}, {{195, 384}, NONE}},
    {"lumova3.jpg", 64, 64, false, {NONE, NONE, NONE, NONE}, {{32, 38}, NONE}},
    {"the_end.jpg", 540, 200, true, {{0, 0}, {539, 0}, {0, 199}, {539, 199}}, {{75, 85}, NONE}},
    {"lumova.jpg", 160, 160, true, {{0, 0}, {159, 0}, {0, 159}, {159, 159}}, {{74, 88}, NONE}},
    {"blood.png", 24, 24, true, {{0, 0}, {23, 0}, {0, 23}, {23, 23}}, {{12, 15}, NONE}},
};

const char *SAMPLES[5] = {"vorsenna.wav", "valahdys.wav", "tajuu.wav", "soikkeli.wav",
                          "lepikko.wav"};

Uint32 pixel(SDL_Surface *s, int x, int y)
{
    return *reinterpret_cast<Uint32 *>(static_cast<Uint8 *>(s->pixels) + y * s->pitch + 4 * x);
}

// Mean absolute difference, over rows and the three colour bytes, between
// columns a and b of a 32-bit surface.
double column_difference(SDL_Surface *s, int a, int b)
{
    double sum = 0;
    for (int y = 0; y < s->h; y++) {
        Uint32 p = pixel(s, a, y), q = pixel(s, b, y);
        for (int shift = 0; shift < 24; shift += 8)
            sum += std::abs(int((p >> shift) & 0xff) - int((q >> shift) & 0xff));
    }
    return sum / (3.0 * s->h);
}

class MediaPictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(640, 480, 32, 0), nullptr) << SDL_GetError();
    }
    void TearDown() override
    {
        for (SDL_Surface *&s : loaded) {
            if (s)
                SDL_FreeSurface(s);
            s = nullptr;
        }
        SDL_Quit();
    }

    // Loads like the demo does: the file, then a copy in the display format.
    SDL_Surface *load(int slot)
    {
        SDL_Surface *raw = IMG_Load(media(PICTURES[slot].file).c_str());
        if (!raw)
            return nullptr;
        SDL_Surface *converted = SDL_DisplayFormat(raw);
        SDL_FreeSurface(raw);
        loaded[slot] = converted;
        return converted;
    }

    SDL_Surface *loaded[12] = {};
};

TEST_F(MediaPictures, EveryPictureLoadsAtTheSizeItsSceneExpects)
{
    for (int i = 0; i < 12; i++) {
        SDL_Surface *s = load(i);
        ASSERT_NE(s, nullptr) << PICTURES[i].file << ": " << IMG_GetError();
        EXPECT_EQ(s->w, PICTURES[i].w) << PICTURES[i].file;
        EXPECT_EQ(s->h, PICTURES[i].h) << PICTURES[i].file;
        EXPECT_EQ(s->format->BytesPerPixel, 4) << PICTURES[i].file;
    }
}

TEST_F(MediaPictures, KeyedPicturesAreExactBlackAroundTheirSubject)
{
    for (int i = 0; i < 12; i++) {
        const ExpectedPicture &want = PICTURES[i];
        SDL_Surface *s = load(i);
        ASSERT_NE(s, nullptr) << want.file;
        ASSERT_EQ(SDL_LockSurface(s), 0);
        for (const Point &p : want.background) {
            if (p.x < 0)
                continue;
            EXPECT_EQ(pixel(s, p.x, p.y), 0u)
                << want.file << " background at " << p.x << "," << p.y;
        }
        for (const Point &p : want.subject) {
            if (p.x < 0)
                continue;
            EXPECT_NE(pixel(s, p.x, p.y) & 0xffffff, 0u)
                << want.file << " subject at " << p.x << "," << p.y;
        }
        SDL_UnlockSurface(s);
    }
}

TEST_F(MediaPictures, LogoDissolvesOverWholeLattices)
{
    // the dissolve steps every third column and every second row
    SDL_Surface *s = load(0);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->w % 3, 0);
    EXPECT_EQ(s->h % 2, 0);
}

TEST_F(MediaPictures, SlidingPictureReachesBelowTheStripTile)
{
    SDL_Surface *slide = load(5);
    SDL_Surface *tile = load(6);
    ASSERT_NE(slide, nullptr);
    ASSERT_NE(tile, nullptr);
    EXPECT_GT(slide->h, tile->h);
    // the strip's top row is 240 - h/2 of the sliding picture: on screen
    EXPECT_GE(240 - slide->h / 2, 0);
    EXPECT_LE(240 - slide->h / 2 + tile->h, 480);
}

TEST_F(MediaPictures, StripTileJoinsSeamlesslyWithItself)
{
    // Tiles stand 206 pixels apart: the last column runs on into the
    // first one no more abruptly than neighbouring columns inside the tile.
    SDL_Surface *s = load(6);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->w, 206);
    ASSERT_EQ(SDL_LockSurface(s), 0);
    double seam = column_difference(s, s->w - 1, 0);
    double inside = 0;
    for (int x = 1; x < s->w; x++)
        inside += column_difference(s, x - 1, x);
    inside /= s->w - 1;
    SDL_UnlockSurface(s);
    EXPECT_LT(seam, 2.0 * inside + 1.0) << "seam " << seam << ", inside " << inside;
}

TEST_F(MediaPictures, KeyedPicturesKeyOutAGoodShare)
{
    // The keyed pictures stand on black: a good share of each must key out.
    const int keyed[] = {2, 3, 5, 9, 10, 11};
    for (int i : keyed) {
        SDL_Surface *s = load(i);
        ASSERT_NE(s, nullptr);
        ASSERT_EQ(SDL_LockSurface(s), 0);
        long black = 0;
        for (int y = 0; y < s->h; y++)
            for (int x = 0; x < s->w; x++)
                black += pixel(s, x, y) == 0;
        SDL_UnlockSurface(s);
        EXPECT_GT(black, long(s->w) * s->h / 4) << PICTURES[i].file;
        EXPECT_LT(black, long(s->w) * s->h) << PICTURES[i].file;
    }
}

class MediaSound : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, 0x8010, 2, 1024), 0) << Mix_GetError();
    }
    void TearDown() override
    {
        Mix_CloseAudio();
        SDL_Quit();
    }
};

TEST_F(MediaSound, MusicLoads)
{
    Mix_Music *music = Mix_LoadMUS(media("soikkelimetsa.mp3").c_str());
    ASSERT_NE(music, nullptr) << Mix_GetError();
    // decoded by SMPEG or, in Debian's build, by libmad
    Mix_MusicType type = Mix_GetMusicType(music);
    EXPECT_TRUE(type == MUS_MP3 || type == MUS_MP3_MAD) << "type " << type;
    Mix_FreeMusic(music);
}

TEST_F(MediaSound, EverySampleLoadsAndIsShort)
{
    for (const char *name : SAMPLES) {
        Mix_Chunk *chunk = Mix_LoadWAV_RW(SDL_RWFromFile(media(name).c_str(), "rb"), 1);
        ASSERT_NE(chunk, nullptr) << name << ": " << Mix_GetError();
        // converted to the device format: 16-bit stereo, 4 bytes a frame
        double seconds = chunk->alen / (4.0 * 44100.0);
        EXPECT_GT(seconds, 0.3) << name;
        EXPECT_LT(seconds, 2.0) << name;
        Mix_FreeChunk(chunk);
    }
}

}  // namespace
