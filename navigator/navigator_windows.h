// The navigator's window parts around one main window, wired to each other
// as the navigator runs them: the map window, the GPS position display and
// navigation loop, spoken announcements, track import, route playback and
// the launch of the settings program.
// TarvokMAP and tarvok-drive build the same set, so a scripted drive runs
// exactly the program the user runs.
//
// This is the one place that knows the main window whole: each part gets
// its Links, just the pieces of the window it uses (the status line, the
// readouts, the modes, the shared state, the controls it owns), built by
// the functions below, which tests that build a single part use too.
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

map::MapWindow::Links mapWindowLinks(MainWindow& window);
gps::PositionDisplay::Links positionDisplayLinks(MainWindow& window);
// `speech`: the announcements SpeakStatus runs after each shown position.
gps::NavigationLoop::Links navigationLinks(MainWindow& window, SpeechCalls& speech);
gps::SpeechWindow::Links speechLinks(MainWindow& window);
TrackWindowImport::Links trackImportLinks(MainWindow& window);
RouteWindowPlayback::Links routePlaybackLinks(MainWindow& window);

// A request to end from outside (SIGTERM, SIGHUP, SIGINT) closes the window
// as the user's close does: navigation ends and the route positions not yet
// written go to the route file. Bounded by kEndRequestBound.
void closeOnTerminationRequest(MainWindow& window);

class NavigatorWindows {
public:
    explicit NavigatorWindows(MainWindow& window);

    map::MapWindow map;
    gps::PositionDisplay display;
    gps::SpeechWindow speech;
    gps::NavigationLoop navigation;
    TrackWindowImport trackImport;
    RouteWindowPlayback routePlayback;
    // Which windows of other programs are open (the settings window).
    std::unique_ptr<WindowPresence> presence;
    SettingsLaunch settingsLaunch;
};

}  // namespace tarvok
