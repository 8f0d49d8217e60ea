// Turning synthesised speech into the sound sets' WAV files: the rate
// halved from 22050 to 11025 samples per second through a low-pass filter,
// the silence before and after the words cut off, 8-bit unsigned samples,
// and the file layout that lets an announcement cut the samples out by
// position alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvok::sounds {

inline constexpr std::uint32_t kSetSampleRate = 11025;

// Where the spoken samples lie in every file of the sets: they start at
// byte 79 (the 80th byte), and the file ends 71 bytes after them, so the
// samples are the file's length minus 150 bytes long. The byte before them
// and the byte after them are silent samples of the data chunk, which lets
// every chunk start on an even offset as RIFF requires.
inline constexpr std::size_t kSpokenStart = 79;
inline constexpr std::size_t kSpokenTail = 71;

// Halves the sample rate: a windowed-sinc low-pass filter below the new
// Nyquist frequency, then every second sample. The output has
// (in.size() + 1) / 2 samples, aligned with the input's even samples.
std::vector<std::int16_t> halveSampleRate(const std::vector<std::int16_t>& in);

// The samples from shortly before the first to shortly after the last that
// stands out from the silence (a few milliseconds of lead-in and fade kept
// so no consonant is clipped); empty when nothing stands out.
std::vector<std::int16_t> trimSilence(const std::vector<std::int16_t>& samples, std::uint32_t sampleRate);

// 16-bit signed samples as 8-bit unsigned ones (128 is silence), rounded,
// with the given gain, clipped to the 8-bit range.
std::string toUnsigned8(const std::vector<std::int16_t>& samples, double gain = 1.0);

// The WAV file for spoken 8-bit mono samples at 11025 per second, laid out
// as described at kSpokenStart. An odd number of samples gets one more
// silent sample, so the file's length stays even.
std::string soundFile(std::string_view spoken);

}  // namespace tarvok::sounds
