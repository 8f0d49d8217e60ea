#include "radar_screen.h"

#include <algorithm>
#include <cmath>

#include "common/text.h"

namespace tarvok {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr RadarColour kTick{0, 0, 0};
constexpr RadarColour kMark{100, 0, 0};
constexpr RadarColour kCircle{0, 90, 0};
constexpr RadarColour kBeam{0, 200, 0};
constexpr RadarColour kTrace{0, 120, 0};
constexpr RadarColour kSpoke{0, 100, 0};

void addRay(RadarDrawing& d, RadarPoint c, double angle, double from, double to, RadarColour col) {
    RadarPoint a = from == 0 ? c : radarPoint(c, angle, from);
    RadarPoint b = radarPoint(c, angle, to);
    d.lines.push_back({a.x, a.y, b.x, b.y, col});
}

void addCircles(RadarDrawing& d, RadarPoint c) {
    for (int r = 25; r <= 150; r += 25) d.circles.push_back({c.x, c.y, double(r), kCircle});
}

// The line from the centre to P(angle, r), drawn four times shifted by 0 or
// 1 pixel in x and in y, which makes it two pixels wide.
void addThickRay(RadarDrawing& d, RadarPoint c, double angle, RadarColour col) {
    RadarPoint tip = radarPoint(c, angle, kRadarRadius);
    for (int dx = 0; dx <= 1; ++dx)
        for (int dy = 0; dy <= 1; ++dy) d.lines.push_back({c.x + dx, c.y + dy, tip.x + dx, tip.y + dy, col});
}

}  // namespace

RadarPoint radarCentre(std::int32_t innerWidth, std::int32_t innerHeight) {
    return {double(roundToInt32Clamped(innerWidth / 2.0)), double(roundToInt32Clamped(innerHeight / 2.0))};
}

RadarPoint radarPoint(RadarPoint centre, double angle, double distance) {
    double t = angle * kPi / 180;
    return {centre.x - distance * std::sin(t), centre.y + distance * std::cos(t)};
}

RadarDrawing radarDial(RadarPoint c) {
    RadarDrawing d;
    for (int a = 0; a <= 360; a += 5) addRay(d, c, a, kRadarRadius, kRadarRadius + 6, kTick);
    for (int a = 0; a <= 360; a += 10) addRay(d, c, a, kRadarRadius + 12, kRadarRadius + 20, kMark);
    // The beam: a = 1 to 25 in steps of 0.05 (counted in whole steps, so the
    // last ray is exactly at 25 degrees).
    for (int i = 0; i <= 480; ++i) addRay(d, c, 1 + i * 0.05, 0, kRadarRadius, kBeam);
    addCircles(d, c);
    return d;
}

void plotRadarLine(std::uint32_t* pixels, int width, int height, const RadarLine& line) {
    const double dx = line.x2 - line.x1, dy = line.y2 - line.y1;
    const double span = std::max(std::abs(dx), std::abs(dy));
    // A line the size of no screen is not drawn (nor one that is not a number).
    if (!(span < 1e5) || !std::isfinite(line.x1) || !std::isfinite(line.y1)) return;
    const int steps = std::max(1, int(std::ceil(span)));
    const std::uint32_t colour =
        0xff000000u | std::uint32_t(line.colour.r) << 16 | std::uint32_t(line.colour.g) << 8 | line.colour.b;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double x = std::floor(line.x1 + dx * t), y = std::floor(line.y1 + dy * t);
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] = colour;
    }
}

RadarDrawing radarSweepStep(RadarPoint c, int step) {
    RadarDrawing d;
    d.circlesOverLines = true;
    double a = 1 + step * 0.5;
    addThickRay(d, c, a + 24, kBeam);
    addThickRay(d, c, a, kTrace);
    addCircles(d, c);
    // a = 1 + step / 2 is a whole number of degrees at the even steps.
    bool whole = step % 2 == 0;
    int degrees = 1 + step / 2;
    if (whole && degrees % 5 == 0)
        for (int b = 0; b <= 330; b += 30) addRay(d, c, b, 0, kRadarRadius, kSpoke);
    d.refreshClock = whole && degrees % 10 == 0;
    return d;
}

RadarDrawing radarSweepFrame(RadarPoint c, int first, int count) {
    RadarDrawing frame;
    for (int i = 0; i < count; ++i) {
        RadarDrawing d = radarSweepStep(c, (first + i) % kSweepSteps);
        frame.lines.insert(frame.lines.end(), d.lines.begin(), d.lines.end());
        frame.circles = std::move(d.circles);
        frame.circlesOverLines = d.circlesOverLines;
        frame.refreshClock = frame.refreshClock || d.refreshClock;
    }
    return frame;
}

}  // namespace tarvok
