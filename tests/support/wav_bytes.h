// Builds PCM WAV files in memory for sound tests: a sine tone of the given
// length, rate, channel count and sample width.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

namespace tarvok::test {

inline void putLe(std::string& s, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s.push_back(char((v >> (8 * i)) & 0xFF));
}

inline std::string wavBytes(int milliseconds, std::uint32_t rate = 22050, std::uint16_t channels = 1,
                            std::uint16_t bits = 16, double hz = 440) {
    std::uint32_t frames = std::uint32_t(std::uint64_t(rate) * milliseconds / 1000);
    std::string data;
    for (std::uint32_t f = 0; f < frames; ++f) {
        double v = 0.3 * std::sin(2 * 3.14159265358979 * hz * f / rate);
        for (int c = 0; c < channels; ++c) {
            if (bits == 8) data.push_back(char(std::uint8_t(128 + std::lround(v * 127))));
            else putLe(data, std::uint16_t(std::int16_t(std::lround(v * 32767))), 2);
        }
    }
    std::string w = "RIFF";
    putLe(w, std::uint32_t(36 + data.size()), 4);
    w += "WAVEfmt ";
    putLe(w, 16, 4);
    putLe(w, 1, 2);
    putLe(w, channels, 2);
    putLe(w, rate, 4);
    putLe(w, rate * channels * (bits / 8), 4);
    putLe(w, channels * (bits / 8), 2);
    putLe(w, bits, 2);
    w += "data";
    putLe(w, std::uint32_t(data.size()), 4);
    return w + data;
}

}  // namespace tarvok::test
