#include "navigator/gps/motion_display.h"

#include "common/text.h"

namespace tarvok::gps {

namespace {

bool allDigits(std::string_view s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// "022.4" -> "022,4": the received decimal with the decimal comma shown.
std::string withDecimalComma(std::string_view field) {
    std::string s(field);
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

// A one- or two-character text padded with leading zeros to three.
std::string padToThree(std::string s) {
    if (s.size() == 1 || s.size() == 2) return padLeft(s, 3, '0');
    return s;
}

}  // namespace

std::string timeText(std::string_view field, int hourOffset) {
    if (field.size() < 6) return {};
    int hour = hourOffset + static_cast<int>(numericValue(field.substr(0, 2)));
    if (hour > 23) hour -= 24;
    return integerText(hour) + ":" + std::string(field.substr(2, 2)) + ":" + std::string(field.substr(4, 2));
}

std::string degreesText(std::string_view field) {
    // ddmm.mm / dddmm.mm: the two digits before the point are the whole
    // minutes, everything before them the degrees. Minutes are read as one
    // whole number of 1/10^decimals minutes; decimals past nine add nothing
    // a receiver can measure and are left out, so the number stays exact.
    std::size_t point = std::min(field.find('.'), field.size());
    std::size_t minutesStart = point >= 2 ? point - 2 : 0;
    std::string_view degrees = field.substr(0, minutesStart);
    std::string_view whole = field.substr(minutesStart, point - minutesStart);
    std::string_view decimals = point < field.size() ? field.substr(point + 1) : std::string_view();
    if (decimals.size() > 9) decimals = decimals.substr(0, 9);
    double fraction = 0.0;
    if (allDigits(whole) && allDigits(decimals) && whole.size() + decimals.size() > 0) {
        double scale = 60.0;
        for (std::size_t i = 0; i < decimals.size(); ++i) scale *= 10.0;
        fraction = numericValue(std::string(whole) + std::string(decimals)) / scale;
    }
    if (fraction == 0.0) fraction = 0.00001;
    if (!isNumeric(degrees)) return "00,00000";
    std::string text = decimalCommaText(numericValue(degrees) + fraction);
    // A whole number of degrees (60,000 minutes) still gets its comma, so
    // that the padding adds decimals and not digits: "90,00000".
    if (text.find(',') == std::string::npos) text.push_back(',');
    while (text.size() <= 7) text.push_back('0');
    return text;
}

std::string hemisphereText(std::string_view field) { return std::string(field.substr(0, 1)); }

std::string speedText(std::string_view knotsField, char speedUnit, std::string& smode) {
    std::string composed = withDecimalComma(knotsField);
    double knots = isNumeric(composed) ? numericValue(composed) : 0.0;
    double shown;
    switch (speedUnit) {
    case '1':
        shown = integerPart(knots * kKilometresPerNauticalMile);
        smode = "kmh";
        break;
    case '2':
        shown = integerPart(knots * kStatuteMilesPerNauticalMile);
        smode = "mph";
        break;
    case '3':
        shown = integerPart(knots);
        smode = "kts";
        break;
    default:
        if (numericValue(composed) > 999) return "000";
        return padToThree(composed);
    }
    // Anything the readout cannot hold in three digits shows "000".
    if (shown > 999 || shown < -99) return "000";
    return padToThree(integerText(static_cast<long long>(shown)));
}

std::int32_t courseValue(std::string_view field) {
    std::string composed = withDecimalComma(field);
    if (!isNumeric(composed)) return 0;
    return roundToInt32(numericValue(composed)).value_or(0);
}

std::string courseText(std::int32_t course) { return padToThree(integerText(course)); }

int compassSector(std::int32_t c) {
    if (c <= 21) return 0;
    if (c >= 337) return 8;
    return (c - 22) / 45 + 1;
}

std::string compassText(std::int32_t c) {
    static constexpr const char* kPoints[] = {" N", "NO", " O", "ZO", " Z", "ZW", " W", "NW", " N"};
    return kPoints[compassSector(c)];
}

std::string dateText(std::string_view field) {
    if (field.size() < 6) return {};
    std::string_view year = field.substr(4, 2);
    bool thisCentury = isNumeric(year) && numericValue(year) < 80;
    return std::string(field.substr(0, 2)) + "-" + std::string(field.substr(2, 2)) + (thisCentury ? "-20" : "-19") +
           std::string(year);
}

void showRmc(const RmcFields& f, const DisplaySettings& settings, MotionDisplay& d) {
    if (std::string t = timeText(f.time, settings.hourOffset); !t.empty()) d.tijds = t;
    d.latid = degreesText(f.latitude);
    d.nsText = hemisphereText(f.northSouth);
    d.longi = degreesText(f.longitude);
    d.ewText = hemisphereText(f.eastWest);
    d.speed = speedText(f.speedKnots, settings.speedUnit, d.smode);
    d.course = courseValue(f.course);
    d.koers = courseText(d.course);
    d.windr = compassText(d.course);
    if (std::string t = dateText(f.date); !t.empty()) d.datum = t;
}

std::int32_t shownSpeedValue(const MotionDisplay& d) { return roundToInt32Clamped(numericValue(d.speed)); }

}  // namespace tarvok::gps
