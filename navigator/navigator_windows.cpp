#include "navigator/navigator_windows.h"

#include "navigator/shell/main_window.h"

namespace tarvok {

// Members are built in their declared order, so the display exists before
// the calls below hand it to track import and route playback.
NavigatorWindows::NavigatorWindows(MainWindow& window)
    : map(window),
      display(window, map),
      navigation(window, display),
      trackImport(window, positionCalls()),
      routePlayback(window, &trackImport, positionCalls()),
      speech(window),
      presence(createWindowPresence()),
      settingsLaunch(*presence) {
    window.attachSettingsLaunch(settingsLaunch);
    // A position off the map with the automatic map search on selects the
    // next map; go-to and the map selection place positions through the
    // display.
    display.setMapSearch([this] { map.FindMapForPosition(); });
    map.setPositionCalls({[this] { return display.UpdatePosition(); },
                          [this] { return display.positionPixel(); }});
}

// Played routes and imported tracks move on the map through the same
// UpdatePosition as received fixes.
TrackPositionCalls NavigatorWindows::positionCalls() {
    return {[this] { display.UpdatePosition(); },
            [this](std::int32_t* x, std::int32_t* y) {
                *x = display.positionPixel().x;
                *y = display.positionPixel().y;
            },
            [this] { display.followPosition(); }};
}

}  // namespace tarvok
