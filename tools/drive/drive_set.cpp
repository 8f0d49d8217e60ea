// TarvokSET under the driver (--program set): the settings window as the
// settings program runs it, announcing its title to other programs, so a
// navigator waiting for it sees it come and go; ending the script closes
// the window, which saves, as ending TarvokSET does.
#include <stdexcept>

#include "platform/media_control.h"
#include "platform/window_presence.h"
#include "settings/settings_file.h"
#include "settings/settings_window.h"
#include "tools/drive/drive.h"

namespace tarvok::drive {

namespace {

class SettingsWindowProgram : public DrivenProgram {
public:
    explicit SettingsWindowProgram(const ProgramOptions& o)
        : presence_(createWindowPresence()), window_(o.paths, o.dialogs, presence_.get()) {
        if (o.screen) window_.setScreenSizeSource([s = *o.screen] { return s; });
        window_.formLoad();
    }
    ~SettingsWindowProgram() override {
        window_.sound().abortWaits();
        // The program ends with its window closed and its settings saved.
        if (!window_.ended()) window_.close();
    }

    QWidget& window() override { return window_; }
    bool ended() const override { return window_.ended(); }
    MediaControl& mediaControl() override { return window_.sound(); }
    void setState(const std::string& flag, long long) override {
        throw std::runtime_error("unknown flag '" + flag + "' (the settings window has none to set)");
    }

private:
    std::unique_ptr<WindowPresence> presence_;
    settings::SettingsWindow window_;
};

ProgramRegistration set("set", [](const ProgramOptions& o) -> std::unique_ptr<DrivenProgram> {
    if (!settings::provisionForSettings(o.paths, o.dialogs)) return nullptr;
    return std::make_unique<SettingsWindowProgram>(o);
});

}  // namespace

}  // namespace tarvok::drive
