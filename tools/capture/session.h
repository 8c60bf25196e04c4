// One capture: the virtual clock the demo runs on, the frames it shows at the
// output rate, and the sounds it starts, as the demo's own calls report them.
//
// The demo runs unchanged; its waits, flips and mixer calls are redirected
// here at link time (seam.cpp). Time moves only where the demo waits or flips,
// by amounts fixed in the settings, so every run with the same settings draws
// the same passes at the same ticks and shows the same frames.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <SDL.h>
#include <SDL_mixer.h>

namespace capture {

struct Settings {
    int fps = 60;
    // Virtual time added to every wait besides the wait itself: the scene's
    // drawing and the sleep's overshoot in one pass of the main loop.
    std::uint64_t pass_us = 1000;
    // Virtual time a flip takes.
    std::uint64_t flip_us = 2000;
    // Length of the capture: the demo's 31.5 s, counted from tick 0.
    std::uint64_t length_us = 31500000;
};

// A picture as shown: packed RGB, 3 bytes a pixel, rows top to bottom.
struct Image {
    int w = 0, h = 0;
    std::vector<std::uint8_t> rgb;
};

// A sample the demo started, at the moment it started it.
struct SampleStart {
    std::string name;        // the demo's name for it (vorsenna, valahdys, ...)
    std::uint64_t at_us;     // virtual time of the start
    int channel;             // mixer channel it plays on
    std::vector<std::int16_t> pcm;  // its data in the device's format
    int volume;              // the chunk's own volume, 0..128
};

// The music the demo faded in.
struct MusicStart {
    bool started = false;
    std::string file;        // as the demo loaded it, relative to the media folder
    std::uint64_t at_us = 0;
    int loops = 0;           // -1: without end
    int fade_ms = 0;
    int volume = 128;        // the music volume in force when it started
};

// The audio device as the demo opened it.
struct AudioDevice {
    bool open = false;
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    int chunksize = 0;       // sample frames per mixing buffer
};

// When each scene slot started, by its clock base.
struct SceneStart {
    int slot;
    std::uint64_t at_us;     // virtual time of the hand-over pass
    Uint32 clock_base;       // temp3 as the scene found it
};

class Session {
public:
    // Called with each output frame, in order, index from 0. A frame that no
    // output wants as a picture is not converted, and `image` is null.
    using FrameSink = std::function<void(int index, const Image *image)>;

    Session(Settings settings, FrameSink sink);

    const Settings &settings() const { return settings_; }
    int frame_count() const { return frame_count_; }
    std::uint64_t frame_time_us(int index) const;
    // The frame shown at virtual time t: the last one whose time is at or before t.
    int frame_at(std::uint64_t t_us) const;

    // Which frames the sink needs as pictures (all, or only some).
    void want_all_frames(bool all) { want_all_ = all; }
    void want_frame(int index) { wanted_[index] = true; }
    // A frame at a time into a scene, resolved when the scene starts; the
    // callback gets the frame index (or -1 if the scene never started).
    void want_scene_frame(int slot, std::uint64_t offset_us, std::function<void(int)> resolved);

    // --- what the demo's calls report (seam.cpp) ---
    Uint32 ticks() const { return (Uint32)(now_us_ / 1000); }
    void wait(Uint32 ms);
    void flip(SDL_Surface *surface);
    int play(Mix_Chunk *chunk);
    int fade_in_music(Mix_Music *music, int loops, int ms);
    int music_volume(int volume);
    void loaded_music(Mix_Music *music, const char *file);
    void opened_audio(int result, int frequency, Uint16 format, int channels, int chunksize);

    // After the demo has returned: shows the last picture to the end.
    void finish();

    // --- what was recorded ---
    std::uint64_t now_us() const { return now_us_; }
    long flips() const { return flips_; }
    long passes() const { return waits_; }
    const AudioDevice &audio() const { return audio_; }
    const MusicStart &music() const { return music_; }
    const std::vector<SampleStart> &samples() const { return samples_; }
    const std::vector<SceneStart> &scenes() const { return scenes_; }

private:
    void note_scene();
    void emit_before(std::uint64_t t_us);
    bool wanted(int index) const;
    const Image &shown_rgb();

    Settings settings_;
    FrameSink sink_;
    int frame_count_;
    std::uint64_t now_us_ = 0;
    long flips_ = 0;
    long waits_ = 0;

    // The screen as last flipped, as the raw display words, and as RGB once
    // a frame needed it.
    std::vector<std::uint32_t> shown_;
    int shown_w_ = 640, shown_h_ = 480;
    SDL_PixelFormat shown_format_{};
    Image shown_image_;
    bool shown_converted_ = false;

    int next_frame_ = 0;
    bool want_all_ = false;
    std::map<int, bool> wanted_;
    struct SceneRequest {
        int slot;
        std::uint64_t offset_us;
        std::function<void(int)> resolved;
        bool done;
        int index;
    };
    std::vector<SceneRequest> scene_requests_;

    bool started_ = false;   // start-up over: the main loop runs
    int last_slot_ = -1;

    AudioDevice audio_;
    MusicStart music_;
    std::map<Mix_Music *, std::string> music_files_;
    std::vector<SampleStart> samples_;
    std::vector<std::uint64_t> channel_busy_until_us_;
    std::vector<SceneStart> scenes_;
};

// The session the redirected calls report to.
extern Session *current;

}  // namespace capture
