#include "navigator/gps/nmea_sentence.h"

#include "common/text.h"

namespace tarvok::gps {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The body of the sentence: between '$' and '*' (or the end).
std::string_view body(std::string_view line) {
    std::string_view b = line.substr(1);
    std::size_t star = b.find('*');
    return star == std::string_view::npos ? b : b.substr(0, star);
}

}  // namespace

ChecksumState checkChecksum(std::string_view line) {
    if (line.empty() || line[0] != '$') return ChecksumState::Wrong;
    std::size_t star = line.find('*');
    if (star == std::string_view::npos) return ChecksumState::Absent;
    unsigned char sum = 0;
    for (std::size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(line[i]);
    std::string_view digits = line.substr(star + 1);
    // Blanks after the digits are tolerated, and so are the carriage returns
    // of receivers that end their lines with CR CR LF; anything else is not.
    while (!digits.empty() && (digits.back() == ' ' || digits.back() == '\t' || digits.back() == '\r'))
        digits.remove_suffix(1);
    if (digits.size() != 2) return ChecksumState::Wrong;
    int hi = hexDigit(digits[0]), lo = hexDigit(digits[1]);
    if (hi < 0 || lo < 0) return ChecksumState::Wrong;
    return (hi * 16 + lo) == sum ? ChecksumState::Matches : ChecksumState::Wrong;
}

bool isKnownTalker(std::string_view talker) {
    auto capital = [](char c) { return c >= 'A' && c <= 'Z'; };
    return talker.size() == 2 && capital(talker[0]) && capital(talker[1]) && talker[0] != 'P';
}

std::optional<Sentence> splitSentence(std::string_view line) {
    if (line.empty() || line[0] != '$') return std::nullopt;
    Sentence s;
    std::string_view b = body(line);
    std::size_t start = 0;
    while (true) {
        std::size_t comma = b.find(',', start);
        s.fields.emplace_back(
            b.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    s.name = s.fields[0];
    if (s.name.size() == 5) {
        s.talker = s.name.substr(0, 2);
        if (isKnownTalker(s.talker)) {
            const std::string_view type = std::string_view(s.name).substr(2);
            if (type == "RMC") s.type = SentenceType::RMC;
            else if (type == "GGA") s.type = SentenceType::GGA;
            else if (type == "GSA") s.type = SentenceType::GSA;
        }
    }
    return s;
}

ClassifiedLine classifyLine(std::string_view line) {
    ClassifiedLine c;
    // Noise before a sentence (a receiver switching from a binary protocol,
    // a stray byte at connection) is skipped: '$' only ever starts one.
    std::size_t dollar = line.rfind('$');
    if (dollar == std::string_view::npos) return c;
    line = line.substr(dollar);
    auto s = splitSentence(line);
    if (!s || s->type == SentenceType::Other) return c;
    c.sentence = std::move(*s);
    c.verdict = checkChecksum(line) == ChecksumState::Wrong ? LineVerdict::BadChecksum : LineVerdict::Process;
    return c;
}

bool holdsSentence(std::string_view line) {
    const std::size_t dollar = line.rfind('$');
    if (dollar == std::string_view::npos) return false;
    line = line.substr(dollar);
    const std::string_view address = line.substr(1, line.find_first_of(",*", 1) - 1);
    if (address.size() != 5) return false;
    for (char c : address)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    return checkChecksum(line) != ChecksumState::Wrong;
}

RmcFields rmcFields(const Sentence& s) {
    auto f = [&](std::size_t i) -> std::string { return i < s.fields.size() ? s.fields[i] : std::string(); };
    return RmcFields{f(1), f(2), f(3), f(4), f(5), f(6), f(7), f(8), f(9)};
}

void updateFixStatus(FixStatus& status, const Sentence& s) {
    auto field = [&](std::size_t i) -> std::string_view {
        return i < s.fields.size() ? std::string_view(s.fields[i]) : std::string_view();
    };
    // A small whole number from a field, or -1 when it is empty or not one.
    auto count = [&](std::size_t i) {
        const std::string_view f = field(i);
        if (f.empty() || !isNumeric(f)) return -1;
        const double v = numericValue(f);
        return v >= 0 && v < 1000 ? int(v) : -1;
    };
    switch (s.type) {
    case SentenceType::GGA: {
        // $--GGA,time,lat,N,lon,E,quality,satellites,hdop,altitude,...
        const int quality = count(6);
        if (quality < 0) return;
        status.known = true;
        status.quality = quality;
        status.fix = quality > 0;
        if (const int satellites = count(7); satellites >= 0) status.satellites = satellites;
        return;
    }
    case SentenceType::GSA: {
        // $--GSA,selection,mode(1 none, 2 2D, 3 3D),...
        const int mode = count(2);
        if (mode < 1 || mode > 3) return;
        status.known = true;
        status.fix = mode > 1;
        status.dimension = mode > 1 ? mode : 0;
        return;
    }
    case SentenceType::RMC: {
        const std::string_view valid = field(2);
        if (valid.empty()) return;
        status.known = true;
        status.fix = valid != "V";
        return;
    }
    case SentenceType::Other: return;
    }
}

}  // namespace tarvok::gps
