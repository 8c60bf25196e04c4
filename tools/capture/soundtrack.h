// The soundtrack of a capture, mixed offline from what the demo started and
// when: the music from its fade-in on, looping, and each sample from the
// moment the demo started it, the way the mixer would have played them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "session.h"

namespace capture {

struct Soundtrack {
    int frequency = 44100;
    int channels = 2;
    std::vector<std::int16_t> pcm;  // interleaved, signed 16-bit
};

// Mixes the capture's whole length. The music file is decoded with ffmpeg,
// relative to the working directory (the media folder).
bool mix_soundtrack(const Session &session, Soundtrack &out, std::string &error);

bool write_wav(const std::string &path, const Soundtrack &sound);

}  // namespace capture
