// The navigator's main window for benchmarks, as the program opens it but
// with the sound off and the dialogs answered by the benchmark, on a drive
// prefix (a private one unless given).
#pragma once

#include <QSize>
#include <memory>

#include "bench/private_folder.h"
#include "common/settings.h"
#include "navigator/shell/main_window.h"
#include "platform/dos_path.h"
#include "platform/sound_device.h"
#include "tests/support/recording_dialogs.h"

namespace tarvok::bench {

struct BenchMainWindow {
    DosPaths paths;
    test::RecordingDialogs dialogs;
    std::unique_ptr<MainWindow> window;

    // `screen`, when given, is the screen size the layout is computed from.
    explicit BenchMainWindow(DosPaths where = DosPaths(privateFolder() / "prefix"), QSize screen = QSize())
        : paths(std::move(where)) {
        NavigatorStart start;
        start.settings = decodeForNavigator(start.settingsString);
        start.settings.soundOn = '0';
        window = std::make_unique<MainWindow>(start, paths, dialogs, std::make_unique<SilentSoundDevice>());
        if (screen.isValid()) window->setScreenSizeSource([screen] { return screen; });
    }
};

}  // namespace tarvok::bench
