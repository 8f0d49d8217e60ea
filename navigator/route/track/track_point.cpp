#include "navigator/route/track/track_point.h"

#include "common/text.h"
#include "navigator/route/track/track_lines.h"

namespace tarvok {

namespace {

std::string columns(std::string_view line, std::size_t pos, std::size_t length) {
    return std::string(lineColumns(line, pos, length));
}

// The texts of the columns {position, length} with `separators[i]` after
// the i-th one.
std::string joined(std::string_view line, std::initializer_list<std::pair<std::size_t, std::size_t>> cols,
                   std::initializer_list<std::string_view> separators) {
    std::string s;
    auto sep = separators.begin();
    for (const auto& [pos, length] : cols) {
        s.append(lineColumns(line, pos, length));
        if (sep != separators.end()) s.append(*sep++);
    }
    return s;
}

// Degrees plus minute digits (two whole minutes, five decimals) as decimal
// degrees; `zero` when the minute digits are not a number.
std::string degreesAndMinutes(std::string_view degrees, const std::string& minuteDigits, const char* zero) {
    if (!isNumeric(minuteDigits)) return zero;
    return decimalCommaText(numericValue(degrees) + numericValue(minuteDigits) / 6000000.0);
}

TrackPointTexts trackFilePoint(std::string_view line) {
    TrackPointTexts p;
    p.nsText = columns(line, 5, 1);
    p.latid = degreesAndMinutes(lineColumns(line, 6, 2), joined(line, {{8, 2}, {11, 5}}, {}), "00,0000000");
    p.ewText = columns(line, 17, 1);
    p.longi = degreesAndMinutes(lineColumns(line, 18, 3), joined(line, {{21, 2}, {24, 5}}, {}), "000,000000");
    p.datum = joined(line, {{30, 2}, {33, 3}, {37, 2}}, {" ", "'"});
    p.tijds = joined(line, {{40, 2}, {43, 2}, {46, 2}}, {":", ":"});
    return p;
}

TrackPointTexts textPoint(std::string_view line) {
    TrackPointTexts p;
    p.tijds = columns(line, 46, 8);
    p.datum = columns(line, 35, 10);
    p.latid = joined(line, {{8, 2}, {11, 7}}, {","});
    p.longi = joined(line, {{21, 2}, {24, 7}}, {","});
    if (!isNumeric(p.latid)) p.latid = "00,00000000";
    if (!isNumeric(p.longi)) p.longi = "000,00000000";
    p.nsText.assign(1, 'N');
    p.ewText.assign(1, 'E');
    return p;
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

TrackFormat trackFormatForName(std::string_view fileName) {
    if (endsWith(fileName, "txt")) return TrackFormat::Text;
    if (endsWith(upperAscii(fileName), ".GPX")) return TrackFormat::Gpx;
    return TrackFormat::TrackFile;
}

std::optional<TrackPointTexts> trackPointFromLine(std::string_view line, TrackFormat format) {
    if (lineColumns(line, 2, 1) != "T") return std::nullopt;
    switch (format) {
    case TrackFormat::Text: return textPoint(line);
    case TrackFormat::TrackFile: return trackFilePoint(line);
    case TrackFormat::Gpx: break;
    }
    return std::nullopt;
}

}  // namespace tarvok
