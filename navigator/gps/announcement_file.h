// The files behind a spoken announcement, on native paths: fragments read
// from their WAV files in the sound folder, and "Algem1.WAV" written there.
// Plain file I/O, no Qt.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarvok::gps {

// The fragment of a WAV file (see fragmentFromFile): at most its first
// kFragmentFileReadLimit bytes are read. A missing, unreadable or short file
// gives an empty fragment.
std::string readFragmentFile(const std::filesystem::path& file);

// Writes "Algem1.WAV": the 44-byte header and the samples as one block, over
// the previous file in place (cut to the new length when that was longer),
// so a rewrite costs a few system calls and no flush of the old blocks.
// Nothing on success, else the reason.
std::optional<std::string> writeAnnouncementFile(const std::filesystem::path& file, std::string_view samples);

}  // namespace tarvok::gps
