// TarvokMAP under the driver: the main window with every window part wired
// as the navigator wires them.
#include "tools/drive/drive_navigator.h"

#include <stdexcept>

#include "navigator/navigator_windows.h"
#include "navigator/shell/main_window.h"
#include "navigator/shell/program_start.h"
#include "navigator/shell/sound_playback.h"
#include "platform/sound_device.h"

namespace tarvok::drive {

namespace {

class NavigatorProgram : public DrivenProgram {
public:
    NavigatorProgram(NavigatorStart start, const ProgramOptions& o)
        : window_(std::move(start), o.paths, o.dialogs, createSoundDevice()), parts_(window_) {
        if (o.screen) window_.setScreenSizeSource([s = *o.screen] { return s; });
        // Ended from outside, the window closes as TarvokMAP's does; a
        // script waiting with wait-ended then finishes.
        closeOnTerminationRequest(window_);
        window_.formLoad();
        window_.activateWindow();
    }

    MainWindow& mainWindow() { return window_; }
    NavigatorWindows& parts() { return parts_; }

    QWidget& window() override { return window_; }
    std::vector<QObject*> controls() override { return window_.controls(); }
    std::optional<std::string> status() const override { return window_.status(); }
    bool ended() const override { return window_.programEnded(); }
    MediaControl& mediaControl() override { return window_.sound(); }

    void setState(const std::string& flag, long long value) override {
        NavigatorState& s = window_.state();
        const auto v = std::int16_t(value);
        if (flag == "navigationActive") s.navigationActive = v;
        else if (flag == "playbackActive") s.playbackActive = v;
        else if (flag == "mapLoaded") s.mapLoaded = v;
        else if (flag == "stopRequest") s.stopRequest = v != 0;
        else
            throw std::runtime_error("unknown flag '" + flag +
                                     "' (navigationActive, playbackActive, mapLoaded, stopRequest)");
    }

private:
    MainWindow window_;
    NavigatorWindows parts_;
};

ProgramRegistration map("map", [](const ProgramOptions& o) -> std::unique_ptr<DrivenProgram> {
    std::optional<NavigatorStart> start = prepareNavigator(o.paths, o.dialogs);
    if (!start) return nullptr;
    return std::make_unique<NavigatorProgram>(std::move(*start), o);
});

}  // namespace

namespace {

NavigatorProgram& navigator(Driver& d) {
    auto* n = dynamic_cast<NavigatorProgram*>(&d.program);
    if (!n) throw std::runtime_error("this verb drives the navigator only (--program map)");
    return *n;
}

}  // namespace

MainWindow& navigatorWindow(Driver& d) { return navigator(d).mainWindow(); }

NavigatorWindows& navigatorParts(Driver& d) { return navigator(d).parts(); }

}  // namespace tarvok::drive
