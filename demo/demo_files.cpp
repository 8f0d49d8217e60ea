#include "demo_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/text.h"

namespace tarvok::demo {

namespace {

std::string cornerCoordinate(double value, int degreeDigits, char positive, char negative) {
    const long long hundredths = std::llround(std::fabs(value) * 6000.0);
    return padLeft(integerText(hundredths / 6000), std::size_t(degreeDigits)) +
           padLeft(integerText(hundredths % 6000), 4) + (value < 0 ? negative : positive);
}

constexpr double kAccelerate = 1.5;  // m/s per second
constexpr double kBrake = 1.5;
constexpr int kStandingSeconds = 5;
constexpr double kKnotsPerMs = 3600.0 / 1852.0;

// An NMEA coordinate: degrees, minutes with five decimals, letter.
std::string nmeaCoordinate(double value, int degreeDigits, char positive, char negative) {
    double a = std::fabs(value);
    int deg = int(a);
    double minutes = (a - deg) * 60.0;
    if (minutes >= 59.999995) {
        ++deg;
        minutes = 0;
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%0*d%08.5f,%c", degreeDigits, deg, minutes, value < 0 ? negative : positive);
    return buf;
}

std::string hhmmss(int startHhmmss, int second) {
    int t = startHhmmss / 10000 * 3600 + startHhmmss / 100 % 100 * 60 + startHhmmss % 100 + second;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d%02d%02d.00", t / 3600 % 24, t / 60 % 60, t % 60);
    return buf;
}

constexpr double kLateral = 2.0;  // m/s^2 the driver allows in a turn

// A point of the smoothed path: the leg it belongs to and the speed it may
// be passed with (from the turn's radius).
struct PathPoint {
    GeoPoint at;
    std::size_t leg = 0;
    double limit = 1e9;  // m/s
};

// The route with each turn rounded off by a circular arc of 25 m radius
// (150 m for gentle bends, 12 m for sharp ones, as on a slip road), made
// smaller where a leg is too short for it.
std::vector<PathPoint> smoothPath(const Drive& drive) {
    constexpr double kPi = 3.14159265358979323846;
    std::vector<GeoPoint> corners{drive.start};
    for (const DriveLeg& leg : drive.legs) corners.push_back(leg.to);
    std::vector<PathPoint> out{{corners[0], 0, 0}};
    for (std::size_t i = 1; i + 1 < corners.size(); ++i) {
        const GeoPoint p = corners[i];
        // Flat metres around the corner: x east, y north.
        const double my = distanceMetres({p.lat - 0.001, p.lon}, {p.lat + 0.001, p.lon}) / 0.002;
        const double mx = distanceMetres({p.lat, p.lon - 0.001}, {p.lat, p.lon + 0.001}) / 0.002;
        auto local = [&](GeoPoint q) { return std::pair{(q.lon - p.lon) * mx, (q.lat - p.lat) * my}; };
        auto geo = [&](double x, double y) { return GeoPoint{p.lat + y / my, p.lon + x / mx}; };
        auto [ax, ay] = local(corners[i - 1]);
        auto [bx, by] = local(corners[i + 1]);
        const double in = std::hypot(ax, ay), outLen = std::hypot(bx, by);
        const double ux = -ax / in, uy = -ay / in;        // incoming direction
        const double wx = bx / outLen, wy = by / outLen;  // outgoing direction
        const double cross = ux * wy - uy * wx;
        const double turn = std::acos(std::clamp(ux * wx + uy * wy, -1.0, 1.0));
        if (turn < 3 * kPi / 180) {
            out.push_back({p, i, 1e9});
            continue;
        }
        const double wanted = turn < 25 * kPi / 180 ? 150 : turn < 90 * kPi / 180 ? 25 : 12;
        const double t = std::min({wanted * std::tan(turn / 2), 0.4 * in, 0.4 * outLen});
        const double radius = t / std::tan(turn / 2);
        const double side = cross > 0 ? 1 : -1;   // left turn: centre on the left
        const double ex = -ux * t, ey = -uy * t;  // where the arc begins
        const double cx = ex - side * uy * radius, cy = ey + side * ux * radius;
        const double start = std::atan2(ey - cy, ex - cx);
        const int steps = std::max(2, int(std::ceil(turn / (5 * kPi / 180))));
        const double limit = std::sqrt(kLateral * radius);
        for (int k = 0; k <= steps; ++k) {
            const double ang = start + side * turn * k / steps;
            out.push_back(
                {geo(cx + radius * std::cos(ang), cy + radius * std::sin(ang)), k < steps / 2 ? i - 1 : i, limit});
        }
    }
    out.push_back({corners.back(), drive.legs.size() - 1, 0});
    return out;
}

}  // namespace

std::string cornerLatitude(double lat) { return cornerCoordinate(lat, 2, 'N', 'S'); }
std::string cornerLongitude(double lon) { return cornerCoordinate(lon, 3, 'E', 'W'); }

std::string cornerFileText(const MapSheet& s) {
    return s.title + "\r\n" + "Tarvok demonstration map " + s.fileName + ", drawn by tarvok-make-demo\r\n" +
           "Reference points: A lower left corner, B upper right corner\r\n" + cornerLatitude(s.bottom) +
           cornerLongitude(s.left) + ",0," + integerText(s.height) + "\r\n" + cornerLatitude(s.top) +
           cornerLongitude(s.right) + "," + integerText(s.width) + ",0\r\n";
}

std::vector<DriveFix> simulateDrive(const Drive& drive) {
    const std::vector<PathPoint> path = smoothPath(drive);
    std::vector<double> segLen;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) segLen.push_back(distanceMetres(path[i].at, path[i + 1].at));

    std::vector<DriveFix> fixes;
    int second = 0;
    double course = bearingDegrees(path[0].at, path[1].at);
    for (; second < kStandingSeconds; ++second) fixes.push_back({second, drive.start, 0, course});

    std::size_t seg = 0;  // from path[seg] to path[seg + 1]
    double along = 0;     // metres into the segment
    double v = 0;         // m/s along the path
    GeoPoint at = drive.start;
    while (seg + 1 < path.size()) {
        // The fastest speed from which every point ahead can still be
        // reached at its own limit, and the leg's speed.
        double limit = drive.legs[path[seg + 1].leg].kmh / 3.6;
        double ahead = segLen[seg] - along;
        for (std::size_t j = seg + 1; j < path.size() && ahead < 600; ++j) {
            double next = std::min(path[j].limit, drive.legs[path[j].leg].kmh / 3.6);
            limit = std::min(limit, std::sqrt(next * next + 2 * kBrake * ahead));
            if (j < segLen.size()) ahead += segLen[j];
        }
        v = std::max(0.5, std::min(v + kAccelerate, limit));
        // Move v metres along the path, across its points; the last point ends it.
        double move = v;
        while (move > 0 && seg + 1 < path.size()) {
            if (along + move < segLen[seg]) {
                along += move;
                move = 0;
            } else if (seg + 2 == path.size()) {
                v -= move - (segLen[seg] - along);
                along = segLen[seg];
                move = 0;
            } else {
                move -= segLen[seg] - along;
                along = 0;
                ++seg;
            }
        }
        GeoPoint now = between(path[seg].at, path[seg + 1].at, along / segLen[seg]);
        course = bearingDegrees(at, now);
        at = now;
        fixes.push_back({second++, at, v, course});
        if (seg + 2 == path.size() && along >= segLen[seg]) break;  // arrived
    }
    for (int i = 0; i < kStandingSeconds; ++i) fixes.push_back({second++, at, 0, course});
    return fixes;
}

std::string withChecksum(const std::string& body) {
    unsigned x = 0;
    for (char c : body) x ^= std::uint8_t(c);
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", x);
    return "$" + body + "*" + buf;
}

std::vector<std::string> driveSentences(const std::vector<DriveFix>& fixes, int startHhmmss,
                                        const std::string& dateDdmmyy) {
    std::vector<std::string> out;
    for (const DriveFix& f : fixes) {
        const std::string time = hhmmss(startHhmmss, f.second);
        const std::string lat = nmeaCoordinate(f.at.lat, 2, 'N', 'S');
        const std::string lon = nmeaCoordinate(f.at.lon, 3, 'E', 'W');
        char speed[32], course[32];
        std::snprintf(speed, sizeof speed, "%.3f", f.speedMs * kKnotsPerMs);
        std::snprintf(course, sizeof course, "%.2f", f.course);
        out.push_back(withChecksum("GNRMC," + time + ",A," + lat + "," + lon + "," + speed + "," + course + "," +
                                   dateDdmmyy + ",,,A,V"));
        // Satellites and dilution vary a little, as a receiver's do.
        const int satellites = 9 + (f.second / 17) % 4;
        char gga[64];
        std::snprintf(gga, sizeof gga, ",1,%02d,%.2f,%.1f,M,46.3,M,,", satellites, 0.7 + 0.05 * ((f.second / 11) % 5),
                      1.5 + 0.1 * ((f.second / 7) % 9));
        out.push_back(withChecksum("GNGGA," + time + "," + lat + "," + lon + gga));
    }
    return out;
}

}  // namespace tarvok::demo
