// PCM WAV files: the RIFF container with its "fmt " and "data" chunks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvok {

struct WavSound {
    std::uint32_t sampleRate = 0;
    std::uint16_t channels = 0;       // 1 or 2
    std::uint16_t bitsPerSample = 0;  // 8 (unsigned) or 16 (signed, little-endian)
    std::string samples;              // the sample bytes, whole frames only

    std::uint32_t bytesPerFrame() const { return channels * (bitsPerSample / 8u); }
    std::uint64_t frameCount() const { return bytesPerFrame() ? samples.size() / bytesPerFrame() : 0; }
    // Playing time in microseconds.
    std::uint64_t durationMicroseconds() const { return sampleRate ? frameCount() * 1000000ull / sampleRate : 0; }
};

// Reads a PCM WAV file held in memory: "RIFF" size "WAVE", then chunks in
// any order (odd-sized chunks padded to even length). The format must be PCM
// (tag 1, or the extensible tag with a PCM sub-format), mono or stereo, 8 or
// 16 bits, at any sample rate. A data chunk that claims more bytes than the
// file holds is cut to what is there (files written by a program that was
// stopped). Anything else gives nothing.
std::optional<WavSound> parseWav(std::string_view bytes);

// The sound converted to 16-bit samples with `channels` channels (mono is
// duplicated, stereo averaged) at `sampleRate` (linear interpolation), for
// an output that does not take the file's own format.
WavSound convertWav(const WavSound& in, std::uint32_t sampleRate, std::uint16_t channels);

}  // namespace tarvok
