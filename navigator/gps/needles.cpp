#include "navigator/gps/needles.h"

#include <algorithm>
#include <cmath>

#include "common/text.h"

namespace tarvok::gps {

namespace {
constexpr double kPi = 3.14159265359;  // the value the dial drawing has always used
constexpr int kShadow = 15;

DialPoint shifted(DialPoint p, int dx, int dy) { return {p.x + dx, p.y + dy}; }
}  // namespace

int speedNeedleAngle(std::int32_t shownSpeed) {
    // A negative speed (a garbled field) rests the needle at 0, not below it.
    std::int32_t v = std::clamp<std::int32_t>(shownSpeed, 0, kSpeedDialMaximum);
    return static_cast<int>(integerPart(v * 2.05)) + 25;
}

int compassNeedleAngle(std::int32_t course) { return course + 180; }

DialPoint needleTip(DialPoint centre, double degrees, int length) {
    double a = degrees / 180.0 * kPi;
    return {roundToInt32Clamped(centre.x - length * std::sin(a)), roundToInt32Clamped(centre.y + length * std::cos(a))};
}

DialPoint speedNeedleTip(std::int32_t shownSpeed) { return needleTip(kSpeedDialCentre, speedNeedleAngle(shownSpeed)); }

DialPoint compassNeedleTip(std::int32_t course) { return needleTip(kCompassDialCentre, compassNeedleAngle(course)); }

std::vector<NeedleLine> needleLines(std::int32_t shownSpeed, std::int32_t course) {
    const DialPoint s = speedNeedleTip(shownSpeed);
    const DialPoint c = compassNeedleTip(course);
    const DialPoint sc = kSpeedDialCentre;
    const DialPoint cc = kCompassDialCentre;
    return {
        {sc, s, 250, 250, 250},
        {shifted(sc, kShadow, kShadow), shifted(s, kShadow, kShadow), 250, 200, 200},
        {cc, c, 255, 255, 255},
        {shifted(cc, 0, kShadow), shifted(c, 0, kShadow), 250, 200, 200},
        {shifted(cc, kShadow, 0), shifted(c, kShadow, 0), 250, 200, 200},
        {shifted(cc, kShadow, kShadow), shifted(c, kShadow, kShadow), 250, 200, 200},
    };
}

}  // namespace tarvok::gps
