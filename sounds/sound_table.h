// The recorded sound sets: every WAV file the navigator and the settings
// program play, with what it says in Dutch (folder GELUID) and in English
// (folder SOUND). The recorder speaks these texts; the tests check that
// every name the programs play is here and was recorded.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvok::sounds {

inline constexpr const char* kDutchFolder = "GELUID";
inline constexpr const char* kEnglishFolder = "SOUND";

enum class SoundKind {
    // A word or number that is joined with others into one announcement:
    // its file stays below the 20000 bytes an announcement reads of it.
    Fragment,
    // A sentence played whole (status sounds, prompts, month names).
    Sentence,
};

struct SoundText {
    std::string file;     // the file name as the programs write it, "Navig1.WAV"
    std::string dutch;    // UTF-8, as spoken
    std::string english;  // UTF-8, as spoken
    SoundKind kind = SoundKind::Sentence;
};

// Every recorded sound, each file name once.
const std::vector<SoundText>& soundTable();

// The entry for a file name as a program writes it: case ignored, trailing
// blanks and dots ignored (so "April.WAV " finds "April.WAV"); nullptr when
// the name is not recorded.
const SoundText* findSound(std::string_view fileName);

// A file name without its trailing blanks and dots, as it is stored.
std::string storedName(std::string_view fileName);

}  // namespace tarvok::sounds
