#include "session.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "runtime/globals.h"

namespace capture {

Session *current = nullptr;

namespace {

// The demo's name for a sample, found by the global that holds it.
std::string sample_name(const Mix_Chunk *chunk)
{
    if (chunk == vorsenna) return "vorsenna";
    if (chunk == valahdys) return "valahdys";
    if (chunk == tajuu) return "tajuu";
    if (chunk == soikkeli) return "soikkeli";
    if (chunk == lepikko) return "lepikko";
    return "sample";
}

}  // namespace

Session::Session(Settings settings, FrameSink sink)
    : settings_(settings), sink_(std::move(sink))
{
    // round(length * fps): 1890 frames at 60 per second.
    std::uint64_t scaled = settings_.length_us * (std::uint64_t)settings_.fps;
    frame_count_ = (int)((scaled + 500000) / 1000000);
    // Before the first flip the screen is black.
    shown_.assign((size_t)shown_w_ * shown_h_, 0);
    shown_format_.Rmask = 0xff0000;
    shown_format_.Gmask = 0x00ff00;
    shown_format_.Bmask = 0x0000ff;
    shown_format_.Rshift = 16;
    shown_format_.Gshift = 8;
    shown_format_.Bshift = 0;
}

std::uint64_t Session::frame_time_us(int index) const
{
    return (std::uint64_t)index * 1000000 / (std::uint64_t)settings_.fps;
}

int Session::frame_at(std::uint64_t t_us) const
{
    // Frame k is shown from k / fps on, up to the next one.
    std::uint64_t k = t_us * (std::uint64_t)settings_.fps / 1000000;
    if (k >= (std::uint64_t)frame_count_)
        return frame_count_ - 1;
    return (int)k;
}

void Session::want_scene_frame(int slot, std::uint64_t offset_us, std::function<void(int)> resolved)
{
    scene_requests_.push_back({slot, offset_us, std::move(resolved), false, -1});
}

bool Session::wanted(int index) const
{
    return want_all_ || wanted_.count(index) != 0;
}

void Session::note_scene()
{
    // Start-up is over once the music has been asked to fade in; from then
    // on each wait follows a scene call, and a new slot means a hand-over.
    if (!started_ || (int)skene == last_slot_)
        return;
    int ended = last_slot_;
    last_slot_ = skene;
    scenes_.push_back({last_slot_, now_us_, temp3});
    // A moment asked for in the scene just ended may lie past its end.
    for (const SceneRequest &request : scene_requests_) {
        if (request.done && request.slot == ended && request.index >= 0 &&
            frame_time_us(request.index) >= (std::uint64_t)temp3 * 1000) {
            std::fprintf(stderr, "capture: scene %d ended before %.3f s into it; that frame falls in scene %d\n",
                         request.slot, (double)request.offset_us / 1e6, last_slot_);
        }
    }
    for (SceneRequest &request : scene_requests_) {
        if (request.done || request.slot != last_slot_)
            continue;
        // Counted from the scene's own clock base, which the demo took from
        // the tick count of this very pass.
        std::uint64_t at = (std::uint64_t)temp3 * 1000 + request.offset_us;
        int index = frame_at(at);
        if (index < next_frame_) {
            // Already shown: only possible for a time right at the scene's start.
            index = next_frame_;
        }
        wanted_[index] = true;
        request.done = true;
        request.index = index;
        request.resolved(index);
    }
}

void Session::wait(Uint32 ms)
{
    waits_++;
    note_scene();
    now_us_ += (std::uint64_t)ms * 1000 + settings_.pass_us;
}

const Image &Session::shown_rgb()
{
    if (shown_converted_)
        return shown_image_;
    shown_image_.w = shown_w_;
    shown_image_.h = shown_h_;
    shown_image_.rgb.resize((size_t)shown_w_ * shown_h_ * 3);
    const SDL_PixelFormat &f = shown_format_;
    std::uint8_t *out = shown_image_.rgb.data();
    // The display is 32 bits a pixel with 8-bit channels; take each out by
    // its mask and shift.
    for (std::uint32_t word : shown_) {
        *out++ = (std::uint8_t)((word & f.Rmask) >> f.Rshift);
        *out++ = (std::uint8_t)((word & f.Gmask) >> f.Gshift);
        *out++ = (std::uint8_t)((word & f.Bmask) >> f.Bshift);
    }
    shown_converted_ = true;
    return shown_image_;
}

void Session::emit_before(std::uint64_t t_us)
{
    // Every frame whose time is before t shows the picture flipped last.
    while (next_frame_ < frame_count_ &&
           (std::uint64_t)next_frame_ * 1000000 < t_us * (std::uint64_t)settings_.fps) {
        if (wanted(next_frame_))
            sink_(next_frame_, &shown_rgb());
        else
            sink_(next_frame_, nullptr);
        next_frame_++;
    }
}

void Session::flip(SDL_Surface *surface)
{
    flips_++;
    // The picture flipped now is shown from now on; frames before now show
    // the one before it.
    emit_before(now_us_);
    if (surface != NULL && surface->format->BytesPerPixel == 4) {
        bool locked = SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) == 0;
        shown_w_ = surface->w;
        shown_h_ = surface->h;
        shown_format_ = *surface->format;
        shown_.resize((size_t)shown_w_ * shown_h_);
        const std::uint8_t *row = (const std::uint8_t *)surface->pixels;
        for (int y = 0; y < shown_h_; y++, row += surface->pitch)
            std::memcpy(&shown_[(size_t)y * shown_w_], row, (size_t)shown_w_ * 4);
        if (locked)
            SDL_UnlockSurface(surface);
        shown_converted_ = false;
    }
    now_us_ += settings_.flip_us;
}

void Session::finish()
{
    // The last picture stays up to the end of the capture.
    emit_before(UINT64_MAX / (std::uint64_t)settings_.fps);
    for (SceneRequest &request : scene_requests_) {
        if (!request.done) {
            request.done = true;
            request.resolved(-1);
        }
    }
}

void Session::opened_audio(int result, int frequency, Uint16 format, int channels, int chunksize)
{
    audio_.open = result == 0;
    if (!audio_.open)
        return;
    // The device may differ from what was asked; the mixer works in what it got.
    int got_frequency = 0, got_channels = 0;
    Uint16 got_format = 0;
    if (Mix_QuerySpec(&got_frequency, &got_format, &got_channels)) {
        frequency = got_frequency;
        format = got_format;
        channels = got_channels;
    }
    audio_.frequency = frequency;
    audio_.format = format;
    audio_.channels = channels;
    audio_.chunksize = chunksize;
}

int Session::play(Mix_Chunk *chunk)
{
    // The mixer refuses a missing sample.
    if (chunk == NULL || !audio_.open)
        return -1;
    int frame_bytes = 2 * audio_.channels;
    std::uint64_t frames = chunk->alen / (Uint32)frame_bytes;
    std::uint64_t length_us = frames * 1000000 / (std::uint64_t)audio_.frequency;
    // The first channel that is not playing.
    int channels = Mix_AllocateChannels(-1);
    if ((int)channel_busy_until_us_.size() < channels)
        channel_busy_until_us_.resize((size_t)channels, 0);
    int channel = -1;
    for (int i = 0; i < channels; i++) {
        if (channel_busy_until_us_[(size_t)i] <= now_us_) {
            channel = i;
            break;
        }
    }
    if (channel < 0)
        return -1;
    channel_busy_until_us_[(size_t)channel] = now_us_ + length_us;

    SampleStart start;
    start.name = sample_name(chunk);
    start.at_us = now_us_;
    start.channel = channel;
    start.pcm.resize(frames * (std::uint64_t)audio_.channels);
    std::memcpy(start.pcm.data(), chunk->abuf, start.pcm.size() * 2);
    start.volume = chunk->volume;
    samples_.push_back(std::move(start));
    return channel;
}

void Session::loaded_music(Mix_Music *music, const char *file)
{
    if (music != NULL)
        music_files_[music] = file;
}

int Session::fade_in_music(Mix_Music *music, int loops, int ms)
{
    // The last step of start-up: the scenes run from here on.
    started_ = true;
    if (music == NULL || !audio_.open)
        return -1;
    music_.started = true;
    music_.file = music_files_[music];
    music_.at_us = now_us_;
    music_.loops = loops;
    music_.fade_ms = ms;
    return 0;
}

int Session::music_volume(int volume)
{
    int previous = music_.volume;
    if (volume >= 0)
        music_.volume = volume > MIX_MAX_VOLUME ? MIX_MAX_VOLUME : volume;
    return previous;
}

}  // namespace capture
