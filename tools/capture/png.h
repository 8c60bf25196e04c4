// PNG files written directly with zlib: the same picture and level always
// give the same bytes (no time stamp, no other varying chunk).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace capture {

// 8-bit RGB, rows top to bottom, 3 bytes a pixel. Returns false on a write error.
bool write_png(const std::string &path, int w, int h, const std::uint8_t *rgb, int level);

// The same file in memory.
std::vector<std::uint8_t> encode_png(int w, int h, const std::uint8_t *rgb, int level);

}  // namespace capture
