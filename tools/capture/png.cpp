#include "png.h"

#include <cstdio>
#include <cstdlib>

#include <zlib.h>

namespace capture {

namespace {

void put32(std::vector<std::uint8_t> &out, std::uint32_t v)
{
    out.push_back((std::uint8_t)(v >> 24));
    out.push_back((std::uint8_t)(v >> 16));
    out.push_back((std::uint8_t)(v >> 8));
    out.push_back((std::uint8_t)v);
}

void chunk(std::vector<std::uint8_t> &out, const char type[5], const std::vector<std::uint8_t> &data)
{
    put32(out, (std::uint32_t)data.size());
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + start, (uInt)(out.size() - start));
    put32(out, (std::uint32_t)crc);
}

}  // namespace

std::vector<std::uint8_t> encode_png(int w, int h, const std::uint8_t *rgb, int level)
{
    // Each row goes through the Sub filter: the difference to the pixel on
    // its left, which turns flat areas and gradients into runs of zeros.
    size_t stride = (size_t)w * 3;
    std::vector<std::uint8_t> raw((stride + 1) * (size_t)h);
    for (int y = 0; y < h; y++) {
        const std::uint8_t *in = rgb + stride * (size_t)y;
        std::uint8_t *out = &raw[(stride + 1) * (size_t)y];
        *out++ = 1;
        for (size_t i = 0; i < stride; i++)
            out[i] = (std::uint8_t)(in[i] - (i >= 3 ? in[i - 3] : 0));
    }
    uLongf packed_size = compressBound((uLong)raw.size());
    std::vector<std::uint8_t> packed(packed_size);
    if (compress2(packed.data(), &packed_size, raw.data(), (uLong)raw.size(), level) != Z_OK) {
        std::fprintf(stderr, "capture: zlib could not compress a frame\n");
        std::exit(1);
    }
    packed.resize(packed_size);

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<std::uint8_t> header;
    put32(header, (std::uint32_t)w);
    put32(header, (std::uint32_t)h);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filters, no interlace
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", packed);
    chunk(png, "IEND", {});
    return png;
}

bool write_png(const std::string &path, int w, int h, const std::uint8_t *rgb, int level)
{
    std::vector<std::uint8_t> png = encode_png(w, h, rgb, level);
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == NULL)
        return false;
    bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace capture
