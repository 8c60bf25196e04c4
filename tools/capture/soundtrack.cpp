#include "soundtrack.h"

#include <algorithm>
#include <cstdio>

#include <SDL_mixer.h>

#include "external.h"

namespace capture {

namespace {

// A virtual time as a sample frame of the soundtrack, to the nearest frame.
std::uint64_t frame_of(std::uint64_t t_us, int frequency)
{
    return (t_us * (std::uint64_t)frequency + 500000) / 1000000;
}

// The mixer's volume scaling and its clipped sum, per 16-bit value.
inline int scaled(int value, int volume)
{
    return value * volume / MIX_MAX_VOLUME;
}

inline std::int16_t clipped_sum(int a, int b)
{
    int sum = a + b;
    return (std::int16_t)std::min(32767, std::max(-32768, sum));
}

void mix_music(const Session &session, const std::vector<std::int16_t> &music, Soundtrack &out)
{
    const MusicStart &start = session.music();
    const AudioDevice &device = session.audio();
    size_t channels = (size_t)out.channels;
    std::uint64_t length = music.size() / channels;
    if (length == 0)
        return;
    std::uint64_t total = out.pcm.size() / channels;
    std::uint64_t first = frame_of(start.at_us, out.frequency);

    // The mixer fades in one step per mixing buffer: in buffer b of the
    // music (from 1) the volume is volume * b / steps, until the steps are
    // done; the steps are the fade time over the buffer's length in whole ms.
    int buffer = device.chunksize > 0 ? device.chunksize : 1024;
    int ms_per_step = (int)((float)buffer * 1000.0f / (float)out.frequency);
    int steps = ms_per_step > 0 ? start.fade_ms / ms_per_step : 0;
    // Played once when asked for no loop or one; -1 loops without end.
    std::uint64_t plays = start.loops < 0 ? UINT64_MAX : (std::uint64_t)std::max(1, start.loops);

    for (std::uint64_t n = first; n < total; n++) {
        std::uint64_t i = n - first;
        if (i / length >= plays)
            break;
        int volume = start.volume;
        if (start.fade_ms > 0 && steps > 0) {
            std::uint64_t b = i / (std::uint64_t)buffer + 1;
            if (b <= (std::uint64_t)steps)
                volume = (int)(start.volume * b / (std::uint64_t)steps);
        }
        const std::int16_t *from = &music[(i % length) * channels];
        std::int16_t *to = &out.pcm[n * channels];
        for (size_t c = 0; c < channels; c++)
            to[c] = clipped_sum(to[c], scaled(from[c], volume));
    }
}

void mix_samples(const Session &session, Soundtrack &out)
{
    // Channel by channel, in the mixer's order, each added onto what is
    // there and clipped.
    size_t channels = (size_t)out.channels;
    std::uint64_t total = out.pcm.size() / channels;
    int highest = -1;
    for (const SampleStart &s : session.samples())
        highest = std::max(highest, s.channel);
    for (int channel = 0; channel <= highest; channel++) {
        for (const SampleStart &s : session.samples()) {
            if (s.channel != channel)
                continue;
            int volume = MIX_MAX_VOLUME * s.volume / MIX_MAX_VOLUME;
            std::uint64_t first = frame_of(s.at_us, out.frequency);
            std::uint64_t frames = s.pcm.size() / channels;
            for (std::uint64_t i = 0; i < frames && first + i < total; i++) {
                const std::int16_t *from = &s.pcm[i * channels];
                std::int16_t *to = &out.pcm[(first + i) * channels];
                for (size_t c = 0; c < channels; c++)
                    to[c] = clipped_sum(to[c], scaled(from[c], volume));
            }
        }
    }
}

void put16(std::vector<std::uint8_t> &out, unsigned v)
{
    out.push_back((std::uint8_t)v);
    out.push_back((std::uint8_t)(v >> 8));
}

void put32(std::vector<std::uint8_t> &out, std::uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}


std::uint32_t get32(const std::uint8_t *p)
{
    return (std::uint32_t)p[0] | (std::uint32_t)p[1] << 8 | (std::uint32_t)p[2] << 16 | (std::uint32_t)p[3] << 24;
}

// The music in the soundtrack's rate and channels. A mono file is put on both
// sides at full level, as the mixer does (ffmpeg's own upmix would lower it
// by 3 dB), so it is decoded in its own channels first.
bool decode_music(const std::string &file, const Soundtrack &out, std::vector<std::int16_t> &music)
{
    for (int pass = 0; pass < 2; pass++) {
        std::vector<std::string> command = {"ffmpeg", "-nostdin", "-v", "error", "-i", file, "-f", "wav",
                                            "-acodec", "pcm_s16le", "-ar", std::to_string(out.frequency)};
        if (pass == 1)
            command.insert(command.end(), {"-ac", std::to_string(out.channels)});
        command.push_back("-");
        std::vector<std::uint8_t> wav;
        if (!read_command(command, wav) || wav.size() < 12)
            return false;
        // RIFF chunks: the format gives the channels; the data runs to the end
        // (a piped WAV does not know its own length).
        int channels = 0;
        size_t at = 12, data = 0;
        while (at + 8 <= wav.size()) {
            std::uint32_t size = get32(&wav[at + 4]);
            if (std::equal(wav.begin() + (long)at, wav.begin() + (long)at + 4, "fmt ") && at + 12 <= wav.size())
                channels = wav[at + 10] | wav[at + 11] << 8;
            if (std::equal(wav.begin() + (long)at, wav.begin() + (long)at + 4, "data")) {
                data = at + 8;
                break;
            }
            at += 8 + size + (size & 1);
        }
        if (channels <= 0 || data == 0)
            return false;
        size_t values = (wav.size() - data) / 2;
        size_t frames = values / (size_t)channels;
        if (channels == out.channels || (channels == 1 && out.channels == 2)) {
            music.resize(frames * (size_t)out.channels);
            for (size_t f = 0; f < frames; f++) {
                for (int c = 0; c < out.channels; c++) {
                    size_t from = data + 2 * (f * (size_t)channels + (size_t)(channels == 1 ? 0 : c));
                    music[f * (size_t)out.channels + (size_t)c] = (std::int16_t)(wav[from] | wav[from + 1] << 8);
                }
            }
            return true;
        }
    }
    return false;
}

}  // namespace

bool mix_soundtrack(const Session &session, Soundtrack &out, std::string &error)
{
    const AudioDevice &device = session.audio();
    if (device.open) {
        if (device.format != AUDIO_S16LSB) {
            error = "the audio device is not signed 16-bit little-endian";
            return false;
        }
        out.frequency = device.frequency;
        out.channels = device.channels;
    }
    // Silence where nothing plays; without a device the demo is silent.
    std::uint64_t total = frame_of(session.settings().length_us, out.frequency);
    out.pcm.assign(total * (std::uint64_t)out.channels, 0);

    if (session.music().started) {
        std::vector<std::int16_t> music;
        if (!decode_music(session.music().file, out, music)) {
            error = "ffmpeg could not decode the music " + session.music().file;
            return false;
        }
        mix_music(session, music, out);
    }
    mix_samples(session, out);
    return true;
}

bool write_wav(const std::string &path, const Soundtrack &sound)
{
    std::uint32_t data_bytes = (std::uint32_t)(sound.pcm.size() * 2);
    std::vector<std::uint8_t> header;
    header.insert(header.end(), {'R', 'I', 'F', 'F'});
    put32(header, 36 + data_bytes);
    header.insert(header.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(header, 16);
    put16(header, 1);  // PCM
    put16(header, (unsigned)sound.channels);
    put32(header, (std::uint32_t)sound.frequency);
    put32(header, (std::uint32_t)(sound.frequency * sound.channels * 2));
    put16(header, (unsigned)(sound.channels * 2));
    put16(header, 16);
    header.insert(header.end(), {'d', 'a', 't', 'a'});
    put32(header, data_bytes);
    for (std::int16_t v : sound.pcm)
        put16(header, (std::uint16_t)v);

    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == NULL)
        return false;
    bool ok = std::fwrite(header.data(), 1, header.size(), file) == header.size();
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace capture
