// The navigator's window parts around one main window, wired to each other
// as the navigator runs them: the map window, the GPS position display and
// navigation loop, spoken announcements, track import and route playback.
// TarvokMAP and tarvok-drive build the same set, so a scripted drive runs
// exactly the program the user runs.
#pragma once

#include "navigator/gps/navigation_loop.h"
#include "navigator/gps/position_display.h"
#include "navigator/gps/speech_window.h"
#include "navigator/map/map_window.h"
#include "navigator/route/route_window.h"
#include "navigator/route/track/track_window.h"

namespace tarvok {

class MainWindow;

class NavigatorWindows {
public:
    explicit NavigatorWindows(MainWindow& window);

    map::MapWindow map;
    gps::PositionDisplay display;
    gps::NavigationLoop navigation;
    TrackWindowImport trackImport;
    RouteWindowPlayback routePlayback;
    gps::SpeechWindow speech;

private:
    TrackPositionCalls positionCalls();
};

}  // namespace tarvok
