// Spoken announcements: which recorded fragments SpeakStatus joins for the
// shown position and motion, when it speaks, and the sound file it writes.
// Plain logic; the window reads the fragment files and plays the result.
//
// A fragment is the run of bytes of its WAV file from the 80th byte on,
// the file's length minus 150 bytes long (header and tail left out), taken
// from at most the first 20000 bytes: 8-bit mono samples at 11025 per second.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include "common/language.h"

namespace tarvok::gps {

inline constexpr std::size_t kFragmentFileReadLimit = 20000;
inline constexpr std::size_t kFragmentStart = 79;     // bytes skipped at the start
inline constexpr std::size_t kFragmentTrimmed = 150;  // bytes of the file that are not samples
inline constexpr int kAnnouncementRetry = 20;         // sentences to wait for a missing completion notice
inline constexpr const char* kAnnouncementFile = "Algem1.WAV";
inline constexpr const char* kReceptionErrorFile = "RXfout1.WAV";

// The fragment of a file from its first bytes (at most
// kFragmentFileReadLimit of them) and its length; a file of 150 bytes or
// less gives an empty fragment, as does a missing one (length 0).
std::string fragmentFromFile(std::string_view firstBytes, std::uintmax_t fileLength);

// The fragments kept in memory by LoadSpeechFragments: the unit word of the
// speed unit setting ('1' "kmh", '2' "mph", '3' "kts"), "Koers", "Graden",
// "Positie" and "Komma".
std::vector<std::string> preloadedFragmentNames(char speedUnit);

// The speech options, each on when its setting is "1".
struct SpeechOptions {
    bool speakSpeed = false;
    bool speakCourse = false;
    bool speakPosition = false;
    bool speakWarnings = false;
    bool speakUnit = false;
    bool speakDegreesWord = false;
    bool speakPositionWord = false;
    bool speakCompass = false;
    std::string unitWord = "kmh";
};

// The display texts an announcement speaks (Windows-1252, as shown).
struct SpokenTexts {
    std::string latid, longi, nsText, ewText;
    std::string speed;  // three digits
    std::string koers;  // three digits
    std::string windr;  // two characters
};

// The fragment names of the twenty slots, in speaking order, empty slots
// left out: speed (hundreds, the last two digits or "Stilstan" / "Tehard",
// the unit), course ("Koers", hundreds, two digits, "Graden"), the compass
// letters, then the position ("Positie", degrees, "Komma", up to five
// decimals, "Graden", hemisphere letter, for latitude and longitude).
// Degrees of 100 and more are spoken as hundreds and the last two digits,
// as speeds are; south is "Z" whether NSText shows "S" or "Z".
std::vector<std::string> announcementFragments(const SpokenTexts& texts, const SpeechOptions& options);

// The decimals of a shown coordinate that are spoken, at most five: the
// digits among the six characters from the decimal comma on, when the comma
// stands in the first five characters, else among characters 6 to 11.
std::vector<std::string> spokenDecimals(std::string_view coordinate);

// Playback state shared with WAV playback: the completion code of the last
// sound (1: played to its end, 0: playing or no notice yet) and the
// counter of sentences waited for it.
struct AnnouncementState {
    std::int16_t completionCode = 0;
    int counter = 0;
};

enum class SpeakDecision {
    Silent,          // sound off
    Wait,            // the last sound has not finished
    ReceptionError,  // no usable position: play "RXfout1.WAV"
    Announce,        // assemble and play an announcement
};

// SpeakStatus's decision for one processed sentence. While no completion
// notice has come, every call counts; the 20th treats the last sound as
// finished.
SpeakDecision speakDecision(bool soundOn, AnnouncementState& state, const SpokenTexts& texts);

// An announcement starts playing: the completion code and the counter are 0.
void announcementStarted(AnnouncementState& state);

// "Algem1.WAV": the 44-byte header (PCM, mono, 11025 samples per second,
// 8 bits) followed by the samples.
std::string announcementWav(std::string_view samples);

}  // namespace tarvok::gps

namespace tarvok::gps {

// The message shown once when "Algem1.WAV" cannot be written (a read-only
// or full sound folder): its lines ('0' Dutch, else English).
std::vector<std::string> announcementNotWrittenLines(Language language, std::string_view file, std::string_view reason);

}  // namespace tarvok::gps
