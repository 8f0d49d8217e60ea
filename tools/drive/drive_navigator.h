// The navigator as a driven program (--program map), and the way the
// navigator's own verbs (feed, load-map, map-state) reach its main window.
#pragma once

#include "tools/drive/drive.h"

namespace tarvok {
class MainWindow;
}

namespace tarvok::drive {

// The navigator's main window; throws when the driven program is another.
MainWindow& navigatorWindow(Driver& d);

}  // namespace tarvok::drive
