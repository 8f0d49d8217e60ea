// The navigator's window parts around one main window, wired to each other
// as the navigator runs them: the map window, the GPS position display and
// navigation loop, spoken announcements, track import, route playback and
// the launch of the settings program.
// TarvokMAP and tarvok-drive build the same set, so a scripted drive runs
// exactly the program the user runs.
#pragma once

#include "navigator/gps/navigation_loop.h"
#include "navigator/gps/position_display.h"
#include "navigator/gps/speech_window.h"
#include "navigator/map/map_window.h"
#include "navigator/route/route_window.h"
#include "navigator/route/track/track_window.h"
#include "navigator/shell/settings_launch.h"
#include "platform/window_presence.h"

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
    // Which windows of other programs are open (the settings window).
    std::unique_ptr<WindowPresence> presence;
    SettingsLaunch settingsLaunch;

private:
    TrackPositionCalls positionCalls();
};

}  // namespace tarvok
