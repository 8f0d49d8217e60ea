// The position and motion display: what the main window's readouts show
// for each received RMC sentence, as Windows-1252 text.
//
// Numbers are shown with fixed widths and a decimal comma: latitude and
// longitude at least 8 characters ("52,50000"), speed and course three
// digits ("041", "084"), the compass point as Dutch initials in both
// languages (N, O for east, Z for south, W).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "navigator/gps/nmea_sentence.h"

namespace tarvok::gps {

// The readouts Tijds, Latid, NSText, Longi, EWText, Speed, Smode, Koers,
// Windr, Datum, and the course value kept for the compass and the route.
struct MotionDisplay {
    std::string tijds = "00:00:00";
    std::string latid;
    std::string nsText;
    std::string longi;
    std::string ewText;
    std::string speed;
    std::string smode;
    std::string koers;
    std::string windr;
    std::string datum;
    std::int32_t course = 0;  // whole degrees
};

// The settings the rules read.
struct DisplaySettings {
    int hourOffset = 0;    // added to the UTC hour, 0..23
    char speedUnit = '1';  // '1' km/h, '2' mph, '3' knots
};

inline constexpr double kKilometresPerNauticalMile = 1.852;
inline constexpr double kStatuteMilesPerNauticalMile = 1.150779;

// Time: the UTC hour plus the offset (wrapped past 23), without leading
// zero, then minutes and seconds as received: "1:05:33". Empty when the
// field has fewer than six characters (no time: the readout keeps its text).
std::string timeText(std::string_view field, int hourOffset);

// Latitude (ddmm.mm) and longitude (dddmm.mm): degrees plus minutes / 60
// with a decimal comma and up to 15 significant digits, at least eight
// characters ("52,50000"). Minutes of 0 count as 0.00001 degrees
// ("5200.00" -> "52,00001"). Degrees that are not numeric give "00,00000".
// The minutes are read with all their decimals; two decimals give exactly
// the classic "mmmm / 6000".
std::string degreesText(std::string_view field);

// The hemisphere readout: the field's first character ("" when empty).
std::string hemisphereText(std::string_view field);

// Speed: knots converted into the unit, its integer part, "000" above 999,
// padded to three digits; `smode` gets "kmh", "mph" or "kts". With an
// unknown unit the received value is shown with a decimal comma and `smode`
// is left alone.
std::string speedText(std::string_view knotsField, char speedUnit, std::string& smode);

// Course: rounded to whole degrees (halves to even), 0 when not numeric.
std::int32_t courseValue(std::string_view field);
std::string courseText(std::int32_t course);  // "084"

// The compass sector of a course: 0 up to 21 degrees, then one sector per
// 45 degrees from 22 (1 = NO, 2 = O, ... 7 = NW), and 8 from 337 up (north
// again). The GPS readout, route playback and track import each spell the
// sectors their own way but share these boundaries.
int compassSector(std::int32_t course);

// The compass point of a course: " N", "NO", " O", "ZO", " Z", "ZW", " W", "NW".
std::string compassText(std::int32_t course);

// Date: "dd-mm-yyyy", years 80..99 in 19xx and 00..79 in 20xx. Empty when
// the field has fewer than six characters.
std::string dateText(std::string_view field);

// The whole display after one RMC sentence. Fields that are empty for time
// and date leave those readouts as they were.
void showRmc(const RmcFields& f, const DisplaySettings& settings, MotionDisplay& d);

// The shown speed as a whole number, for the speed needle and the route.
std::int32_t shownSpeedValue(const MotionDisplay& d);

}  // namespace tarvok::gps
