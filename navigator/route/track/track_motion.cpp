#include "navigator/route/track/track_motion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/text.h"
#include "navigator/gps/motion_display.h"

namespace tarvok {

namespace {

constexpr std::int32_t kSecondsPerDay = 24 * 3600;
constexpr double kKmPerMile = 1.609344;
constexpr double kKmPerNauticalMile = 1.852;

// Shown speed: above 999 it reads "000"; padded to three digits.
std::string speedText(double value) {
    if (value > 999) return "000";
    return padLeft(integerText(static_cast<long long>(value)), 3);
}

}  // namespace

std::int32_t trackCourseDegrees(std::int32_t dx, std::int32_t dy) {
    const double east = dx;
    const double north = -static_cast<double>(dy);
    if (north == 0) return east > 0 ? 90 : east < 0 ? 270 : 0;
    const auto a =
        static_cast<std::int32_t>(integerPart(std::atan(std::fabs(east) / std::fabs(north)) * 180 / std::numbers::pi));
    std::int32_t course;
    if (east > 0) course = north > 0 ? a : 180 - a;
    else course = north > 0 ? 360 - a : 180 + a;
    return course % 360;
}

const char* trackCompassText(std::int32_t course) {
    static constexpr const char* kPoints[] = {" N ", "NO", " O ", "ZO ", " Z ", "ZW ", " W ", "NW ", " N "};
    return kPoints[gps::compassSector(course)];
}

TrackCourseTexts TrackCourse(TrackMotion& motion, std::int32_t x, std::int32_t y) {
    const double dx = static_cast<double>(x) - motion.previousX;
    const double dy = static_cast<double>(y) - motion.previousY;
    TrackCourseTexts t;
    t.course = trackCourseDegrees(static_cast<std::int32_t>(std::clamp(dx, -2e9, 2e9)),
                                  static_cast<std::int32_t>(std::clamp(dy, -2e9, 2e9)));
    motion.pixelDistance = roundToInt32Clamped(std::sqrt(dx * dx + dy * dy));
    t.koers = gps::courseText(t.course);
    motion.previousX = x;
    motion.previousY = y;
    t.windr = trackCompassText(t.course);
    return t;
}

TrackSpeedTexts TrackSpeed(TrackMotion& motion, std::string_view tijds, char speedUnit) {
    auto field = [&](std::size_t from) { return from < tijds.size() ? numericValue(tijds.substr(from, 2)) : 0.0; };
    const double seconds = field(0) * 3600 + field(3) * 60 + field(6);
    const std::int32_t t = roundToInt32Clamped(integerPart(seconds));
    std::int64_t dt = static_cast<std::int64_t>(t) - motion.previousTime;
    if (dt < 0) dt += kSecondsPerDay;  // past midnight

    TrackSpeedTexts s{"000", std::nullopt};
    if (dt > 0) {
        const double v = integerPart(motion.pixelDistance * 3.6 / static_cast<double>(dt));
        switch (speedUnit) {
        case '1': s = {speedText(v), "kmh"}; break;
        case '2': s = {speedText(integerPart(v / kKmPerMile)), "mph"}; break;
        case '3': s = {speedText(integerPart(v / kKmPerNauticalMile)), "kts"}; break;
        default: break;
        }
    }
    motion.previousTime = t;
    return s;
}

}  // namespace tarvok
