// Geometry of the radar screen shown in the map view before the first map:
// a dial of ticks and circles around the centre of the view and a beam that
// sweeps round, leaving a dimmer trace. Pure: it lists what to draw, the
// window paints it.
//
// Angles are in degrees; for an angle a and a distance d from the centre
// (cx, cy) the point is P(a, d) = (cx - d sin t, cy + d cos t), t = a pi / 180,
// so 0 degrees points straight down and angles grow clockwise.
#pragma once

#include <cstdint>
#include <vector>

namespace tarvok {

struct RadarColour {
    std::uint8_t r, g, b;
    bool operator==(const RadarColour&) const = default;
};

struct RadarLine {
    double x1, y1, x2, y2;
    RadarColour colour;
};

struct RadarCircle {
    double cx, cy, radius;
    RadarColour colour;
    bool operator==(const RadarCircle&) const = default;
};

struct RadarDrawing {
    std::vector<RadarLine> lines;      // drawn first, in order
    std::vector<RadarCircle> circles;  // drawn after the lines
    bool refreshClock = false;         // refresh Shape2 and show the time in Tijds
    // The circles are on the screen already: drawn again, they only mend
    // the pixels where this drawing's lines crossed them.
    bool circlesOverLines = false;
};

struct RadarPoint {
    double x, y;
};

inline constexpr double kRadarRadius = 175;
inline constexpr int kSweepSteps = 721;  // a = 1 to 361 in steps of 0.5

// The centre: half the inner size of the map view, rounded to whole pixels.
RadarPoint radarCentre(std::int32_t innerWidth, std::int32_t innerHeight);

RadarPoint radarPoint(RadarPoint centre, double angle, double distance);

// The still part, drawn once: ticks every 5 degrees (black), marks every 10
// degrees (dark red), the six circles (radii 25 to 150) and the beam from 1
// to 25 degrees.
RadarDrawing radarDial(RadarPoint centre);

// Sets the pixels of `line` in an image of `width` x `height` opaque 32-bit
// pixels (0xffRRGGBB, rows without padding): one pixel wide, the pixel
// holding each of the points less than a pixel apart along it from end to
// end, so that it is unbroken; pixels outside the image are left out.
void plotRadarLine(std::uint32_t* pixels, int width, int height, const RadarLine& line);

// Step `step` (0 .. kSweepSteps - 1) of the sweep, at a = 1 + step / 2: the
// leading edge at a + 24 and the trailing edge at a, each drawn four times
// shifted by 0 or 1 pixel, the six circles again, the twelve spokes when a
// is a whole multiple of 5 and the clock refresh when it is one of 10.
RadarDrawing radarSweepStep(RadarPoint centre, int step);

// The `count` steps from `first` (wrapping round) as one drawing: every
// step's lines in order, then the circles once, with the clock refresh of
// any of them. Drawn as one it leaves the same pixels as the steps drawn one
// by one (the circles, drawn last either way, cover their own pixels only).
RadarDrawing radarSweepFrame(RadarPoint centre, int first, int count);

}  // namespace tarvok
