// Course and speed of a track, derived from successive points on the map.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvok {

// Kept between track points for the whole program run; a new track file
// goes on from the last point of the one before.
struct TrackMotion {
    std::int32_t previousX = 0;  // position pixel of the previous point
    std::int32_t previousY = 0;
    std::int32_t pixelDistance = 0;  // between the last two points
    std::int32_t previousTime = 0;   // time of day of the previous point, seconds
};

// The course in whole degrees 0..359 of a move by (dx, dy) map pixels,
// measured clockwise from north with north up on the map (pixel rows grow
// southward): the angle A = integer part of arctan(|dx| / |north|) in
// degrees, with north = -dy, is A towards the north-east, 180 - A
// south-east, 180 + A south-west and 360 - A north-west; a move straight
// east or west is 90 or 270, no move at all 0.
std::int32_t trackCourseDegrees(std::int32_t dx, std::int32_t dy);

// The compass point of a course in the track's own spelling, with a blank
// after most points (the GPS readout writes " N", "ZO", ...):
// " N ", "NO", " O ", "ZO ", " Z ", "ZW ", " W ", "NW ", " N ".
const char* trackCompassText(std::int32_t course);

struct TrackCourseTexts {
    std::int32_t course = 0;
    std::string koers;  // three digits
    std::string windr;
};

// TrackCourse: the course from the previous position pixel to (x, y), the
// position pixel UpdatePosition has just set; keeps the pixel distance and
// makes (x, y) the previous pixel.
TrackCourseTexts TrackCourse(TrackMotion& motion, std::int32_t x, std::int32_t y);

struct TrackSpeedTexts {
    std::string speed;                 // three digits
    std::optional<std::string> smode;  // empty: Smode keeps its text
};

// TrackSpeed: the speed over the pixel distance since the previous point,
// one map pixel taken as one metre, with the time of day from `tijds`
// ("hh:mm:ss"); `speedUnit` is the speed unit setting ('1' km/h, '2' mph,
// '3' knots). Two points with the same time give "000" and leave Smode; a
// time earlier than the previous one is taken as the next day.
TrackSpeedTexts TrackSpeed(TrackMotion& motion, std::string_view tijds, char speedUnit);

}  // namespace tarvok
