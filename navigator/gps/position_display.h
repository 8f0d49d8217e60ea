// The position and motion display in the main window: the readouts Tijds,
// Latid, NSText, Longi, EWText, Speed, Smode, Koers, Windr and Datum, the
// needles on Picture2, and UpdatePosition, which places the shown position
// on the loaded map, shows its pixel in Xtext / Ytext and follows it with
// the map view and the position mark.
//
// The navigation loop, track import and the map search call it; the rules
// themselves are the plain ones of motion_display.h and update_position.h.
#pragma once

#include "navigator/gps/motion_display.h"
#include "navigator/gps/nmea_sentence.h"
#include "navigator/gps/update_position.h"
#include "navigator/map/map_view_state.h"
#include "navigator/route/route_record.h"
#include "navigator/shell/shell_calls.h"

namespace tarvok {
class Dialogs;
class InstrumentPanel;
struct NavigatorState;
namespace map {
class MapWindow;
}
}  // namespace tarvok

namespace tarvok::gps {

class PositionDisplay : public PositionCalls {
public:
    // What the display uses of the main window.
    struct Links {
        Readouts& readouts;
        StatusLine& status;
        const NavigatorState& state;  // the settings, the playback flag
        Dialogs& dialogs;             // the beep off the map
        InstrumentPanel* needles;     // Picture2; none: no needles drawn
    };
    PositionDisplay(Links links, map::MapWindow& map);

    // Automatic map selection, run when the position lies off the loaded map
    // and the automatic map search setting is "1". Without it the system
    // beeps, as with the search switched off.
    void setMapSearch(MapSearchCalls* search) { mapSearch_ = search; }

    // One received RMC sentence on the readouts and the needles. Readouts
    // whose field is missing (no time, no date) keep their text.
    void showFix(const RmcFields& fields);

    // UpdatePosition: the shown latitude and longitude onto the map. Returns
    // the outcome; on the map, Xtext and Ytext show the pixel and, unless
    // route or track playback runs, the current route point is filled.
    PositionOutcome UpdatePosition() override;

    // The current route point: the last position UpdatePosition placed on
    // the map outside playback, as it is recorded into the route file.
    const route::RouteRecord& currentRoutePoint() const { return routePoint_; }
    // Whether the last UpdatePosition filled it.
    bool routePointFilled() const { return routePointFilled_; }

    // The position pixel (bitmap pixels) UpdatePosition set last.
    map::PixelPosition positionPixel() const override { return pixel_; }
    // The signed position UpdatePosition read last (north and east positive).
    double latitude() const { return latitude_; }
    double longitude() const { return longitude_; }
    // The course kept for the compass, the route and the announcements.
    std::int32_t course() const { return course_; }
    // The readouts as the window shows them now (Windows-1252).
    MotionDisplay readouts() const;

    // The map view follows the position pixel: CentreOnPosition with the
    // moving map ticked above zoom level 0, else the bitmap-to-view
    // conversion; then DrawPositionMark. The position read by the last
    // UpdatePosition joins the trail.
    void followPosition() override;
    void startTrail() override;

private:
    void writeReadouts(const MotionDisplay& d);
    void drawNeedles(std::int32_t shownSpeed, std::int32_t course);

    Links links_;
    map::MapWindow& map_;
    MapSearchCalls* mapSearch_ = nullptr;
    map::PixelPosition pixel_;
    double latitude_ = 0;
    double longitude_ = 0;
    std::int32_t course_ = 0;
    route::RouteRecord routePoint_;
    bool routePointFilled_ = false;
    bool positionRead_ = false;  // the last UpdatePosition read a usable position
};

}  // namespace tarvok::gps
