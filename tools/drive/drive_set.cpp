// TarvokSET under the driver (--program set): the settings window as the
// settings program runs it, announcing its title to other programs, so a
// navigator waiting for it sees it come and go; ending the script closes
// the window, which saves, as ending TarvokSET does.
#include <stdexcept>

#include "platform/media_control.h"
#include "platform/sound_device.h"
#include "platform/window_presence.h"
#include "settings/prompts.h"
#include "settings/settings_file.h"
#include "settings/settings_window.h"
#include "tools/drive/drive.h"

namespace tarvok::drive {

namespace {

class SettingsWindowProgram : public DrivenProgram {
public:
    explicit SettingsWindowProgram(const ProgramOptions& o)
        : paths_(o.paths),
          presence_(createWindowPresence()),
          window_(o.paths, o.dialogs, presence_.get()),
          media_(paths_, createSoundDevice()) {
        if (o.screen) window_.setScreenSizeSource([s = *o.screen] { return s; });
        // The window names the prompts it says; they are played through the
        // program's multimedia control, one after another, as PlayPrompt
        // plays them.
        QObject::connect(&window_, &settings::SettingsWindow::speakRequested, &window_,
                         [this](const std::vector<std::string>& prompts) {
            const SettingsString& s = window_.settingsString();
            const std::string folder = settings::promptPath(window_.drive(), settings::languageIn(s), "");
            for (const std::string& p : prompts) {
                if (window_.ended()) return;
                media_.playPrompt(s.read(field::SoundOn).front(), folder, p);
            }
        });
        window_.formLoad();
    }
    ~SettingsWindowProgram() override {
        media_.abortWaits();
        // The program ends with its window closed and its settings saved.
        if (!window_.ended()) window_.close();
    }

    QWidget& window() override { return window_; }
    bool ended() const override { return window_.ended(); }
    MediaControl& mediaControl() override { return media_; }
    void setState(const std::string& flag, long long) override {
        throw std::runtime_error("unknown flag '" + flag + "' (the settings window has none to set)");
    }

private:
    DosPaths paths_;
    std::unique_ptr<WindowPresence> presence_;
    settings::SettingsWindow window_;
    MediaControl media_;
};

ProgramRegistration set("set", [](const ProgramOptions& o) -> std::unique_ptr<DrivenProgram> {
    if (!settings::provisionForSettings(o.paths, o.dialogs)) return nullptr;
    return std::make_unique<SettingsWindowProgram>(o);
});

}  // namespace

}  // namespace tarvok::drive
