#include "navigator/map/trail.h"

#include <algorithm>
#include <cmath>

namespace tarvok::map {

void Trail::add(GeoPosition p) {
    if (positions_.size() >= kCapacity) {
        // Thin the part older than the newest kKeptWhole: keep every second.
        const std::size_t older = positions_.size() - kKeptWhole;
        std::size_t out = 0;
        for (std::size_t i = 0; i < older; i += 2) positions_[out++] = positions_[i];
        positions_.erase(positions_.begin() + std::ptrdiff_t(out), positions_.begin() + std::ptrdiff_t(older));
        ++generation_;
    }
    positions_.push_back(p);
}

std::vector<std::vector<ViewPoint>> trailInView(std::span<const GeoPosition> trail, const MapCalibration& map,
                                                const ClipRect& clip, int viewWidth, int viewHeight,
                                                std::size_t* lastKept, int margin) {
    std::vector<std::vector<ViewPoint>> lines;
    if (lastKept) *lastKept = 0;
    const MapEdges& e = map.edges;
    if (e.top == e.bottom || e.left == e.right || clip.width <= 0 || clip.height <= 0) return lines;
    const double sx = double(viewWidth) / clip.width, sy = double(viewHeight) / clip.height;
    // Far outside the picture every position is clamped to a frame around
    // it, which keeps the numbers in range and the lines through it straight
    // enough (such stretches are not drawn).
    const double limit = 1e6;
    auto toView = [&](const GeoPosition& g) {
        const BitmapPoint b = geoToBitmap(map, g.latitude, g.longitude);
        return ViewPoint{std::int32_t(std::lround(std::clamp((b.x - clip.x) * sx, -limit, limit))),
                         std::int32_t(std::lround(std::clamp((b.y - clip.y) * sy, -limit, limit)))};
    };
    // Which side of the picture a point lies beyond: bits left, right, above, below.
    auto outside = [&](ViewPoint p) {
        return (p.x < -margin ? 1 : 0) | (p.x > viewWidth + margin ? 2 : 0) | (p.y < -margin ? 4 : 0) |
               (p.y > viewHeight + margin ? 8 : 0);
    };
    std::vector<ViewPoint> line;
    ViewPoint last{};
    int lastOutside = -1;
    auto endLine = [&] {
        if (line.size() >= 2) lines.push_back(std::move(line));
        line.clear();
    };
    for (std::size_t i = 0; i < trail.size(); ++i) {
        const ViewPoint p = toView(trail[i]);
        const int side = outside(p);
        if (lastOutside < 0) {
            line.push_back(p);
        } else if (std::abs(p.x - last.x) <= 1 && std::abs(p.y - last.y) <= 1) {
            continue;  // within a pixel of the last point kept
        } else if (side & lastOutside) {
            // Both beyond the same edge: the segment cannot be seen.
            endLine();
            line.push_back(p);
        } else {
            line.push_back(p);
        }
        last = p;
        lastOutside = side;
        if (lastKept) *lastKept = i;
    }
    endLine();
    return lines;
}

}  // namespace tarvok::map
