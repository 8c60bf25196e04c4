#include "support/fake_sdl.h"

#include <cstdlib>
#include <cstring>
#include <deque>
#include <iostream>
#include <sstream>

#include <gtest/gtest.h>

#include "runtime/globals.h"
#include "scenes/scenes.h"

namespace fake {

static Uint32 clock_now;
static std::deque<Uint32> scripted;
Uint32 step_per_read;
Uint32 flip_cost;
long reads;
long flips;
std::vector<Uint32> delays;
std::vector<SoundStart> sounds;
int music_volume = -1;
Mix_Music *faded_in;
int fade_loops, fade_ms;
long fade_calls;
static std::deque<Uint8> events;
bool escape_down;
std::function<void(Uint32)> on_delay;
static Uint8 keys[SDLK_LAST];

void set_clock(Uint32 t)
{
    clock_now = t;
    scripted.clear();
}

void script_readings(std::vector<Uint32> readings)
{
    scripted.assign(readings.begin(), readings.end());
}

Uint32 now()
{
    return clock_now;
}

void queue_event(Uint8 type)
{
    events.push_back(type);
}

void reset()
{
    clock_now = 0;
    scripted.clear();
    step_per_read = 0;
    flip_cost = 0;
    reads = 0;
    flips = 0;
    delays.clear();
    sounds.clear();
    music_volume = -1;
    faded_in = NULL;
    fade_loops = fade_ms = 0;
    fade_calls = 0;
    events.clear();
    escape_down = false;
    on_delay = nullptr;
    std::memset(keys, 0, sizeof keys);
}

void reset_demo_state()
{
    static const std::string names[12] = {
        "lumovalogo.gif", "lumova1.gif", "mystikko.gif",    "blaa.gif",
        "vors3.jpg",      "lumova2.jpg", "metsa.jpg",       "lepikkorapu.jpg",
        "lumova3.jpg",    "the_end.jpg", "lumova.jpg",      "blood.png",
    };
    offsetx = offsety = paskanakki = 0;
    for (int i = 0; i < 12; i++) {
        kuvat[i] = NULL;
        ladattavat_kuvat[i] = names[i];
    }
    metsa = NULL;
    vorsenna = valahdys = tajuu = soikkeli = lepikko = NULL;
    std::memset(tempor, 0, sizeof tempor);
    std::memset(tempora, 0, sizeof tempora);
    temp = temp2 = temp4 = kekelol = temp666 = 0;
    temp3 = 0;
    std::memset(&tapahtuma, 0, sizeof tapahtuma);
    nappi = NULL;
    paalla = 0;
    screen = NULL;
    std::memset(&temp_alue, 0, sizeof temp_alue);
    skene = 0;
    const scene_fn table[8] = {intro, skene1, skene2, skene3, skene4, skene5, skene6, the_end};
    for (int i = 0; i < 8; i++)
        skenet[i] = table[i];
}

struct CaptureCout::Impl {
    std::ostringstream out;
    std::streambuf *old;
};

CaptureCout::CaptureCout() : impl_(new Impl)
{
    impl_->old = std::cout.rdbuf(impl_->out.rdbuf());
}

CaptureCout::~CaptureCout()
{
    std::cout.rdbuf(impl_->old);
    delete impl_;
}

std::string CaptureCout::text() const
{
    return impl_->out.str();
}

}  // namespace fake

extern "C" {

Uint32 __wrap_SDL_GetTicks(void)
{
    Uint32 value;
    if (!fake::scripted.empty()) {
        value = fake::scripted.front();
        fake::scripted.pop_front();
    } else {
        value = fake::clock_now;
    }
    fake::clock_now += fake::step_per_read;
    fake::reads++;
    return value;
}

void __wrap_SDL_Delay(Uint32 ms)
{
    if (fake::on_delay)
        fake::on_delay(ms);
    fake::delays.push_back(ms);
    fake::clock_now += ms;
}

int __wrap_SDL_Flip(SDL_Surface *s)
{
    (void)s;
    fake::flips++;
    fake::clock_now += fake::flip_cost;
    return 0;
}

int __wrap_SDL_PollEvent(SDL_Event *event)
{
    if (fake::events.empty())
        return 0;
    if (event != NULL) {
        std::memset(event, 0, sizeof *event);
        event->type = fake::events.front();
    }
    fake::events.pop_front();
    return 1;
}

Uint8 *__wrap_SDL_GetKeyState(int *numkeys)
{
    if (numkeys != NULL)
        *numkeys = SDLK_LAST;
    fake::keys[SDLK_ESCAPE] = fake::escape_down ? 1 : 0;
    return fake::keys;
}

int __wrap_Mix_PlayChannelTimed(int channel, Mix_Chunk *chunk, int loops, int ticks)
{
    (void)channel;
    (void)loops;
    (void)ticks;
    // A null sample is refused by the mixer and never heard.
    if (chunk == NULL)
        return -1;
    fake::sounds.push_back({chunk, fake::clock_now});
    return 0;
}

int __wrap_Mix_FadeInMusic(Mix_Music *music, int loops, int ms)
{
    fake::fade_calls++;
    fake::faded_in = music;
    fake::fade_loops = loops;
    fake::fade_ms = ms;
    return music == NULL ? -1 : 0;
}

int __wrap_Mix_VolumeMusic(int volume)
{
    int previous = fake::music_volume;
    if (volume >= 0)
        fake::music_volume = volume;
    return previous;
}

}  // extern "C"

HeadlessScreen::HeadlessScreen()
{
    SDL_Init(SDL_INIT_VIDEO);
    screen = SDL_SetVideoMode(640, 480, 32, 0);
    if (screen == NULL)
        ADD_FAILURE() << "no headless video mode: " << SDL_GetError();
    else
        SDL_FillRect(screen, NULL, 0);
}

HeadlessScreen::~HeadlessScreen()
{
    SDL_Quit();
    screen = NULL;
}

void DrawingTest::SetUp()
{
    fake::reset();
    fake::reset_demo_state();
    display = new HeadlessScreen;
}

void DrawingTest::TearDown()
{
    delete display;
    fake::reset_demo_state();
}

SDL_Surface *make_picture(int w, int h, Uint32 fill)
{
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0xff00, 0xff, 0);
    if (s != NULL)
        SDL_FillRect(s, NULL, fill);
    return s;
}

Uint32 pixel(SDL_Surface *s, int x, int y)
{
    return *(Uint32 *)((Uint8 *)s->pixels + y * s->pitch + 4 * x);
}

void set_pixel(SDL_Surface *s, int x, int y, Uint32 value)
{
    *(Uint32 *)((Uint8 *)s->pixels + y * s->pitch + 4 * x) = value;
}

Uint32 tagged_word(int tag, int x, int y)
{
    return (Uint32)(tag << 20 | x << 10 | y);
}

SDL_Surface *tagged_picture(int tag, int w, int h)
{
    SDL_Surface *s = make_picture(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            set_pixel(s, x, y, tagged_word(tag, x, y));
    return s;
}

std::vector<Uint32> screen_words()
{
    std::vector<Uint32> words(640 * 480);
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
            words[y * 640 + x] = pixel(screen, x, y);
    return words;
}

// The tests run headless: dummy video and audio unless the caller says otherwise.
int main(int argc, char **argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    fake::reset();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include <filesystem>
#include <fstream>
#include <unistd.h>

TempDir::TempDir()
{
    char name[] = "/tmp/demo-test-XXXXXX";
    const char *made = mkdtemp(name);
    if (made == NULL)
        ADD_FAILURE() << "mkdtemp failed";
    path_ = made ? made : "/tmp";
}

TempDir::~TempDir()
{
    std::error_code ignored;
    if (path_ != "/tmp")
        std::filesystem::remove_all(path_, ignored);
}

InDir::InDir(const std::string &dir)
{
    old_ = std::filesystem::current_path().string();
    if (chdir(dir.c_str()) != 0)
        ADD_FAILURE() << "cannot enter " << dir;
}

InDir::~InDir()
{
    if (chdir(old_.c_str()) != 0)
        ADD_FAILURE() << "cannot return to " << old_;
}

void write_file(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}
