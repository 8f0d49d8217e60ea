// The navigator as a driven program (--program map), and the way the
// navigator's own verbs (feed, load-map, map-state, settings-script) reach
// its main window and the window parts around it.
#pragma once

#include "tools/drive/drive.h"

namespace tarvok {
class MainWindow;
class NavigatorWindows;
}  // namespace tarvok

namespace tarvok::drive {

// The navigator's main window; throws when the driven program is another.
MainWindow& navigatorWindow(Driver& d);
// The parts wired around it (map, navigation, SETUP's launch, ...).
NavigatorWindows& navigatorParts(Driver& d);

}  // namespace tarvok::drive
