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
    double latitude = 0;  // signed: north and east positive
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

// UpdatePosition as the go-to, the map search, route playback and track
// import run it: the display places the shown latitude and longitude on the
// map and the map view follows the position pixel.
class PositionCalls {
public:
    virtual ~PositionCalls() = default;
    // The readouts' position onto the loaded map (Xtext / Ytext show its pixel).
    virtual PositionOutcome UpdatePosition() = 0;
    // The position pixel (bitmap pixels) UpdatePosition set last.
    virtual map::PixelPosition positionPixel() const = 0;
    // The map view follows the position pixel: CentreOnPosition with the
    // moving map ticked above zoom level 0, else the bitmap-to-view
    // conversion; then DrawPositionMark.
    virtual void followPosition() = 0;
    // A navigation or playback starts: the trail of shown positions starts empty.
    virtual void startTrail() {}
};

// The automatic map selection a position off the loaded map starts.
class MapSearchCalls {
public:
    virtual ~MapSearchCalls() = default;
    // True when a map holding the shown position was found; its bitmap is
    // loaded while the window goes on.
    virtual bool FindMapForPosition() = 0;
    // A map's bitmap is being read (a LOAD, a map found, the map at start):
    // positions are judged against that map once it is shown, not against
    // the one it replaces.
    virtual bool mapBeingRead() const = 0;
};

}  // namespace tarvok::gps
