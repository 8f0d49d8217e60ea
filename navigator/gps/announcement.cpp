#include "navigator/gps/announcement.h"

#include <algorithm>
#include <cstring>

#include "common/text.h"

namespace tarvok::gps {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The fragments of a whole number of degrees: "0".."9", "10".."99", and
// from 100 on the hundreds fragment followed by the last two digits. A
// garbled readout beyond 999 degrees is spoken as 999, the largest number
// the fragments can say (and far beyond what a long long could hold).
void addDegrees(std::vector<std::string>& out, std::string_view coordinate) {
    double value = numericValue(coordinate);
    if (!(value >= 0)) value = 0;
    const long long degrees = static_cast<long long>(integerPart(std::min(value, 999.0)));
    if (degrees < 100) {
        out.push_back(integerText(degrees));
        return;
    }
    out.push_back(integerText(degrees / 100 * 100));
    out.push_back(padLeft(integerText(degrees % 100), 2));
}

void addFragments(std::vector<std::string>& out, std::vector<std::string> more) {
    out.insert(out.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

char compassLetter(char c) { return c == 'N' || c == 'O' || c == 'Z' || c == 'W' ? c : '\0'; }

void putInt32(std::string& bytes, std::size_t at, std::uint32_t v) { std::memcpy(bytes.data() + at, &v, 4); }
void putInt16(std::string& bytes, std::size_t at, std::uint16_t v) { std::memcpy(bytes.data() + at, &v, 2); }

}  // namespace

std::string fragmentFromFile(std::string_view firstBytes, std::uintmax_t fileLength) {
    if (fileLength <= kFragmentTrimmed) return {};
    const std::uintmax_t length = fileLength - kFragmentTrimmed;
    const std::string_view read = firstBytes.substr(0, kFragmentFileReadLimit);
    if (read.size() <= kFragmentStart) return {};
    return std::string(
        read.substr(kFragmentStart, static_cast<std::size_t>(std::min<std::uintmax_t>(length, read.size()))));
}

std::vector<std::string> preloadedFragmentNames(char speedUnit) {
    const char* unit = speedUnit == '2' ? "mph" : speedUnit == '3' ? "kts" : "kmh";
    return {unit, "Koers", "Graden", "Positie", "Komma"};
}

std::vector<std::string> spokenDecimals(std::string_view coordinate) {
    const std::size_t comma = coordinate.substr(0, 5).find(',');
    const std::size_t from = comma == std::string_view::npos ? 5 : comma;
    std::vector<std::string> digits;
    if (from >= coordinate.size()) return digits;
    for (char c : coordinate.substr(from, 6))
        if (isDigit(c) && digits.size() < 5) digits.emplace_back(1, c);
    return digits;
}

std::vector<std::string> announcementFragments(const SpokenTexts& t, const SpeechOptions& o) {
    std::vector<std::string> f;
    const std::string speed = padLeft(t.speed, 3).substr(0, 3);
    const std::string koers = padLeft(t.koers, 3).substr(0, 3);
    const bool standingStill = speed == "000";
    const double v = numericValue(speed);
    const bool tooFast = !standingStill && o.speakWarnings && v > 150;

    if (o.speakSpeed && !standingStill && !tooFast && v >= 100) f.push_back(std::string(1, speed[0]) + "00");
    if (o.speakSpeed && standingStill) {
        f.emplace_back("Stilstan");
    } else if (tooFast) {
        f.emplace_back("Tehard");
    } else if (o.speakSpeed) {
        f.push_back(speed.substr(1, 2));
        if (o.speakUnit) f.push_back(o.unitWord);
    }

    if (!standingStill && o.speakCourse) {
        f.emplace_back("Koers");
        if (koers[0] >= '1' && koers[0] <= '9') f.push_back(std::string(1, koers[0]) + "00");
        f.push_back(koers.substr(1, 2));
        if (o.speakDegreesWord) f.emplace_back("Graden");
    }
    if (!standingStill && o.speakCompass)
        for (char c : t.windr.substr(0, 2))
            if (char letter = compassLetter(c)) f.emplace_back(1, letter);

    if (o.speakPosition) {
        if (o.speakPositionWord) f.emplace_back("Positie");
        addDegrees(f, t.latid);
        f.emplace_back("Komma");
        addFragments(f, spokenDecimals(t.latid));
        if (o.speakDegreesWord) f.emplace_back("Graden");
        const char ns = t.nsText.empty() ? '\0' : t.nsText[0];
        if (ns == 'N') f.emplace_back("N");
        if (ns == 'Z' || ns == 'S') f.emplace_back("Z");
        addDegrees(f, t.longi);
        f.emplace_back("Komma");
        addFragments(f, spokenDecimals(t.longi));
        if (o.speakDegreesWord) f.emplace_back("Graden");
        const char ew = t.ewText.empty() ? '\0' : t.ewText[0];
        if (ew == 'E' || ew == 'O') f.emplace_back("O");
        if (ew == 'W') f.emplace_back("W");
    }
    return f;
}

SpeakDecision speakDecision(bool soundOn, AnnouncementState& state, const SpokenTexts& t) {
    if (!soundOn) return SpeakDecision::Silent;
    if (state.completionCode == 0) {
        if (++state.counter < kAnnouncementRetry) return SpeakDecision::Wait;
        state.completionCode = 1;
        state.counter = 0;
    }
    if (numericValue(t.latid) == 0 || numericValue(t.longi) == 0 || t.nsText.empty() || t.ewText.empty())
        return SpeakDecision::ReceptionError;
    return SpeakDecision::Announce;
}

void announcementStarted(AnnouncementState& state) {
    state.completionCode = 0;
    state.counter = 0;
}

std::string announcementWav(std::string_view samples) {
    std::string wav;
    wav.reserve(44 + samples.size());
    wav.resize(44, '\0');
    const auto n = static_cast<std::uint32_t>(samples.size());
    std::memcpy(wav.data(), "RIFF", 4);
    putInt32(wav, 4, 36 + n);
    std::memcpy(wav.data() + 8, "WAVEfmt ", 8);
    putInt32(wav, 16, 16);
    putInt16(wav, 20, 1);
    putInt16(wav, 22, 1);
    putInt32(wav, 24, 11025);
    putInt32(wav, 28, 11025);
    putInt16(wav, 32, 1);
    putInt16(wav, 34, 8);
    std::memcpy(wav.data() + 36, "data", 4);
    putInt32(wav, 40, n);
    wav += samples;
    return wav;
}

}  // namespace tarvok::gps

namespace tarvok::gps {

std::vector<std::string> announcementNotWrittenLines(Language language, std::string_view file,
                                                     std::string_view reason) {
    if (language == Language::Dutch)
        return {"WAARSCHUWING",
                "",
                "Gesproken meldingen kunnen niet",
                "worden geschreven naar:",
                std::string(file),
                "(" + std::string(reason) + ")",
                "",
                "Controleer de geluidsmap en de vrije schijfruimte.",
                ""};
    return {"WARNING!",
            "",
            "Spoken announcements cannot",
            "be written to:",
            std::string(file),
            "(" + std::string(reason) + ")",
            "",
            "Please check the sound folder and the free disk space.",
            ""};
}

}  // namespace tarvok::gps
