// The trail: the positions shown since navigation or a playback started,
// kept in geographic coordinates so that it follows zoom, scrolling and a
// change of map, and laid out as lines in the map picture's pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "navigator/map/map_calibration.h"
#include "navigator/map/map_view_state.h"

namespace tarvok::map {

struct GeoPosition {
    double latitude = 0;   // north positive
    double longitude = 0;  // east positive
};

// Bounded memory: the newest kKeptWhole positions are always kept as they
// came; once kCapacity are held, every second position of the older part is
// dropped, so older stretches grow sparser but never vanish.
class Trail {
public:
    static constexpr std::size_t kKeptWhole = 100000;
    static constexpr std::size_t kCapacity = 2 * kKeptWhole;

    void add(GeoPosition p);
    void clear() {
        positions_.clear();
        ++generation_;
    }
    // Changes when positions already held are dropped (cleared or thinned),
    // so a drawing of the trail must start again; adding leaves it.
    std::uint64_t generation() const { return generation_; }
    const std::vector<GeoPosition>& positions() const { return positions_; }
    std::size_t size() const { return positions_.size(); }

private:
    std::vector<GeoPosition> positions_;
    std::uint64_t generation_ = 0;
};

// A point of the map picture, in its own pixels (0, 0 its top left corner).
struct ViewPoint {
    std::int32_t x = 0, y = 0;
    friend bool operator==(const ViewPoint&, const ViewPoint&) = default;
};

// The trail on the map picture: the clip of the bitmap shown stretched to
// viewWidth x viewHeight, each position placed by the map's geographic to
// bitmap formula (geoToBitmap). Positions closer than a pixel to the last
// one kept are left out, and stretches outside the picture (more than
// `margin` pixels beyond an edge) break the line, so the lines hold only
// what can be seen. Empty for a map without extent. `lastKept`, when given,
// receives the index in `trail` of the last position kept as a point: the
// positions after it lie within a pixel of it, so a drawing that goes on
// later starts there rather than at the last position, or a trail that
// creeps less than a pixel a fix would never be drawn.
std::vector<std::vector<ViewPoint>> trailInView(std::span<const GeoPosition> trail, const MapCalibration& map,
                                                const ClipRect& clip, int viewWidth, int viewHeight,
                                                std::size_t* lastKept = nullptr, int margin = 4);

}  // namespace tarvok::map
