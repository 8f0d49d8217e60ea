#include "navigator/navigator_windows.h"

#include "navigator/shell/main_window.h"
#include "platform/termination.h"

namespace tarvok {

map::MapWindow::Links mapWindowLinks(MainWindow& w) {
    return {w.widgets(), w.state(), w, w, w.dialogs(), w.sound(), w.paths(), w};
}

gps::PositionDisplay::Links positionDisplayLinks(MainWindow& w) { return {w, w, w.state(), w.dialogs(), w.picture2()}; }

gps::NavigationLoop::Links navigationLinks(MainWindow& w, SpeechCalls& speech) {
    return {w.widgets(), w.state(), w, w, w, w.sound(), speech, w.dialogs(), w.paths()};
}

gps::SpeechWindow::Links speechLinks(MainWindow& w) { return {w, w.state(), w.sound(), w.dialogs(), w.paths(), w}; }

TrackWindowImport::Links trackImportLinks(MainWindow& w) { return {w.widgets(), w.state(), w, w, w, w.dialogs()}; }

RouteWindowPlayback::Links routePlaybackLinks(MainWindow& w) {
    return {w.widgets(), w.state(), w, w, w, w.sound(), w.paths()};
}

void closeOnTerminationRequest(MainWindow& window) {
    onTerminationRequest(
        &window, [&window] { window.close(); }, kEndRequestBound);
}

// Members are built in their declared order: the display before the parts
// that place positions through it, the announcements before the loop that
// speaks them.
NavigatorWindows::NavigatorWindows(MainWindow& window)
    : map(mapWindowLinks(window), &window),
      display(positionDisplayLinks(window), map),
      speech(speechLinks(window), &window),
      navigation(navigationLinks(window, speech), display),
      trackImport(trackImportLinks(window), &display, steadyPlaybackClock(), &window),
      routePlayback(routePlaybackLinks(window), &trackImport, &display, steadyPlaybackClock(), &window),
      presence(createWindowPresence()),
      settingsLaunch(*presence) {
    window.attachSettingsLaunch(settingsLaunch);
    // A position off the map with the automatic map search on selects the
    // next map; go-to and the map selection place positions through the
    // display.
    display.setMapSearch(&map);
    map.setPositionCalls(&display);
    QObject::connect(&window, &MainWindow::ended, &navigation, &gps::NavigationLoop::programEnding);
}

}  // namespace tarvok
