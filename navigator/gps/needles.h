// The needles of the instrument panel: a speed dial and a compass dial, in
// the drawing units of the panel picture.
//
// A needle of length L from centre (cx, cy) at angle a (degrees, measured
// clockwise from straight down) ends at
//     (cx - L sin a, cy + L cos a),  a in radians = degrees / 180 x 3.14159265359,
// each coordinate rounded to the nearest integer. So 0 degrees points down,
// 90 to the left, 180 up and 270 to the right.
#pragma once

#include <cstdint>
#include <vector>

namespace tarvok::gps {

struct DialPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const DialPoint&, const DialPoint&) = default;
};

inline constexpr DialPoint kSpeedDialCentre{720, 650};
inline constexpr DialPoint kCompassDialCentre{2100, 650};
inline constexpr int kNeedleLength = 480;
inline constexpr int kSpeedDialMaximum = 150;  // shown speeds above this pin the needle

// Speed needle angle: integer part of (shown speed, limited to 0..150) x 2.05,
// plus 25: 0 -> 25 degrees, 150 and above -> 332 degrees.
int speedNeedleAngle(std::int32_t shownSpeed);

// Compass needle angle: course + 180, so course 0 points up and 90 right.
int compassNeedleAngle(std::int32_t course);

// The tip of a needle of `length` from `centre` at `degrees`.
DialPoint needleTip(DialPoint centre, double degrees, int length = kNeedleLength);

DialPoint speedNeedleTip(std::int32_t shownSpeed);
DialPoint compassNeedleTip(std::int32_t course);

// One straight line of the needle drawing, colour as 8-bit RGB.
struct NeedleLine {
    DialPoint from;
    DialPoint to;
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const NeedleLine&, const NeedleLine&) = default;
};

// Everything drawn on the cleared panel for one position, in drawing order:
// the speed needle (RGB 250,250,250) and its shadow shifted by (+15, +15);
// the compass needle (RGB 255,255,255) and three shadows shifted by (0, +15),
// (+15, 0) and (+15, +15). Shadows are RGB 250,200,200.
std::vector<NeedleLine> needleLines(std::int32_t shownSpeed, std::int32_t course);

}  // namespace tarvok::gps
