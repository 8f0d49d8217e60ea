// Writes large BMP files row by row, so tests and benchmarks can make maps
// of hundreds of megabytes without holding them in memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace tarvok::test {

// A width x height BMP of 8 bits (with a grey palette), 24 or 32 bits per pixel.
// `row(y, pixels)` fills image row y (0 = top): width bytes of palette
// indices, or width x 3 (or 4) bytes in the order blue, green, red (unused). False when the
// file could not be written.
inline bool writeBmp(const std::string& path, int width, int height, int bitsPerPixel,
                     const std::function<void(int y, std::uint8_t* pixels)>& row) {
    const int bytesPerPixel = bitsPerPixel / 8;
    const std::uint32_t stride = (std::uint32_t(width) * bytesPerPixel + 3u) & ~3u;
    const std::uint32_t paletteBytes = bitsPerPixel == 8 ? 256 * 4 : 0;
    const std::uint32_t offset = 14 + 40 + paletteBytes;
    const std::uint64_t fileSize = offset + std::uint64_t(stride) * std::uint32_t(height);
    std::vector<std::uint8_t> header(offset, 0);
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        header[at] = std::uint8_t(v);
        header[at + 1] = std::uint8_t(v >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        put16(at, v & 0xffff);
        put16(at + 2, v >> 16);
    };
    header[0] = 'B';
    header[1] = 'M';
    put32(2, std::uint32_t(fileSize));
    put32(10, offset);
    put32(14, 40);
    put32(18, std::uint32_t(width));
    put32(22, std::uint32_t(height));  // positive: rows stored bottom-up
    put16(26, 1);
    put16(28, std::uint32_t(bitsPerPixel));
    put32(34, stride * std::uint32_t(height));
    put32(38, 2835);
    put32(42, 2835);
    if (bitsPerPixel == 8) {
        put32(46, 256);
        for (std::uint32_t i = 0; i < 256; ++i) put32(54 + 4 * i, i | (i << 8) | (i << 16));
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(header.data(), 1, header.size(), f) == header.size();
    std::vector<std::uint8_t> line(stride, 0);
    for (int y = height - 1; ok && y >= 0; --y) {
        row(y, line.data());
        ok = std::fwrite(line.data(), 1, line.size(), f) == line.size();
    }
    return std::fclose(f) == 0 && ok;
}

}  // namespace tarvok::test
