// A recording read for the recogniser: any PCM WAV file (8 or 16 bits, mono
// or stereo, any rate) as 16 kHz mono 16-bit samples.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarvok::listen {

// The samples, or nothing with `error` set to a message for the user when
// the file cannot be read or is not a PCM WAV file.
std::optional<std::vector<std::int16_t>> readSpeechFile(const std::filesystem::path& file, std::string& error);

}  // namespace tarvok::listen
