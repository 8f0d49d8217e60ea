// UpdatePosition, its pure part: the shown latitude and longitude placed on
// the loaded map.
#pragma once

#include <cstdint>
#include <string>

#include "navigator/gps/motion_display.h"
#include "navigator/map/map_calibration.h"
#include "navigator/map/map_view_state.h"

namespace tarvok::gps {

inline constexpr const char* kOutOfRangeText = " OUT OF RANGE!!";  // both languages

enum class PositionOutcome {
    Unusable,    // a readout above 360 degrees: nothing else changes
    OutOfRange,  // not on the loaded map: status text, then map search or beep
    OnMap,       // the pixel is shown in Xtext and Ytext
};

struct PlacedPosition {
    PositionOutcome outcome = PositionOutcome::Unusable;
    double latitude = 0;   // signed: north and east positive
    double longitude = 0;
    bool startMapSearch = false;  // out of range with automatic map search on
    bool beep = false;            // out of range with it off
};

// Reads Latid, Longi, NSText and EWText (a blank, empty or non-numeric
// readout becomes "0"; an empty hemisphere becomes "N" / "E"; "S" and "Z"
// are south, "W" west) and converts the position to a pixel of the map:
// `pixel` gets the result of GeoToPixel, so off the map one axis is 0.
PlacedPosition placePosition(MotionDisplay& d, const map::MapCalibration& map, map::PixelPosition& pixel,
                             char autoMapSearch);

}  // namespace tarvok::gps
