// The test side of the time seam. The test binary links the demo library with
// -Wl,--wrap for the calls below, so every call the demo makes to them lands
// here: the clock is scripted, delays advance it instead of sleeping, flips
// and sound starts are recorded, and events and keys are fed by the test.
// Surfaces, blits, fills, colour keys and clipping stay real SDL.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

namespace fake {

// One sound start the demo asked for, with the clock at that moment.
struct SoundStart {
    Mix_Chunk *chunk;
    Uint32 at;
};

// The scripted clock. A reading returns the next scripted value while any
// are left, then `now`; every reading then adds `step_per_read` to `now`.
// SDL_Delay(ms) adds ms to `now`; a flip adds `flip_cost`.
void set_clock(Uint32 now);
void script_readings(std::vector<Uint32> readings);
Uint32 now();
extern Uint32 step_per_read;
extern Uint32 flip_cost;
extern long reads;                      // tick readings so far

extern long flips;                      // SDL_Flip calls so far
extern std::vector<Uint32> delays;      // every SDL_Delay argument, in order
extern std::vector<SoundStart> sounds;  // every Mix_PlayChannelTimed, in order
extern int music_volume;                // last Mix_VolumeMusic(v) with v >= 0
extern Mix_Music *faded_in;             // the music passed to Mix_FadeInMusic
extern int fade_loops, fade_ms;         // its loop count and fade time
extern long fade_calls;                 // Mix_FadeInMusic calls so far

// Events the demo's polls take, one per poll; an empty queue leaves the
// event record untouched, as SDL does.
void queue_event(Uint8 type);
// Escape held down (or not) from now on.
extern bool escape_down;

// Called at the start of every SDL_Delay with its argument, before the clock
// moves: lets a test act between passes (the main loop delays once a pass).
extern std::function<void(Uint32)> on_delay;

// Back to a clean slate: clock 0, nothing recorded, nothing queued.
void reset();

// Zeroes every shared demo global (as at process start) except the scene
// table and the file names, which it restores to the demo's own.
void reset_demo_state();

// Sends std::cout into a string for the life of the object.
class CaptureCout {
public:
    CaptureCout();
    ~CaptureCout();
    std::string text() const;

private:
    struct Impl;
    Impl *impl_;
};

}  // namespace fake

// A headless 640x480x32 display for drawing tests: SDL's video comes up on
// the dummy driver and `screen` points at the display surface.
class HeadlessScreen {
public:
    HeadlessScreen();
    ~HeadlessScreen();
};

// Base fixture for tests that draw: a clean fake and clean demo globals, then
// a headless display; at the end the display goes and the globals are cleared.
// Fixtures that add steps call DrawingTest::SetUp() first and free their own
// pictures before DrawingTest::TearDown() (which shuts SDL down).
class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HeadlessScreen *display = nullptr;
};

// A 32-bit surface in the display's format, filled with one word.
SDL_Surface *make_picture(int w, int h, Uint32 fill = 0);
// The 32-bit word at (x, y) of a 32-bit surface.
Uint32 pixel(SDL_Surface *s, int x, int y);
void set_pixel(SDL_Surface *s, int x, int y, Uint32 value);
// Every word of the 640x480 screen, row by row.
std::vector<Uint32> screen_words();

// The word at (x, y) of tagged_picture(tag, ...): tag << 20 | x << 10 | y,
// naming the picture and the position (never 0 for a tag above 0).
Uint32 tagged_word(int tag, int x, int y);
// A w x h picture whose every pixel holds tagged_word(tag, x, y).
SDL_Surface *tagged_picture(int tag, int w, int h);

// A fresh empty folder under /tmp, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Works in another folder for the life of the object.
class InDir {
public:
    explicit InDir(const std::string &dir);
    ~InDir();

private:
    std::string old_;
};

// Writes bytes to a file, replacing it.
void write_file(const std::string &path, const std::string &bytes);
// Reads a whole file.
std::string read_file(const std::string &path);
