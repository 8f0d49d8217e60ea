// Form1, the settings window "TARVOK - INSTELLINGEN": the content panel
// Frame100 with the map product, clock, page buttons and the five option
// pages; its start, its pages, its captions in both languages, its clock and
// its end, which saves the settings.
//
// Every control carries its name as objectName ("Scomm1", "SnText",
// "Frame31", ...), so scripts and tests find them by name. The rules behind
// the controls live in form_logic.h, option_controls.h, port_settings.h and
// prompts.h; this class only wires them to widgets.
#pragma once

#include <QDateTime>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/dos_path.h"
#include "platform/sound_device.h"
#include "settings/listening_loop.h"
#include "settings/option_controls.h"
#include "settings/port_settings.h"
#include "settings/settings_file.h"
#include "settings/voice_control.h"

class QLineEdit;

namespace tarvok {

class Dialogs;
class GpsdProbe;
class MediaControl;
class WindowPresence;

namespace settings {

class PreviewPicture;

class SettingsWindow : public QWidget, private ListeningLoop::Host {
    Q_OBJECT
public:
    // `presence` announces the window's title to other programs; may be null.
    // Prompts play on `soundDevice`, by default the machine's audio output
    // (createSoundDevice()).
    SettingsWindow(DosPaths paths, Dialogs& dialogs, WindowPresence* presence, QWidget* parent = nullptr,
                   std::unique_ptr<SoundDevice> soundDevice = nullptr);
    ~SettingsWindow() override;

    // Where the screen size and the time of day come from (the primary
    // screen and the system clock unless a test says otherwise).
    void setScreenSizeSource(std::function<QSize()> source) { screenSize_ = std::move(source); }
    void setClock(std::function<QDateTime()> now) { now_ = std::move(now); }
    // Where serial devices are looked for and where a gpsd is asked.
    void setDeviceRoots(std::filesystem::path dev, std::filesystem::path sys);
    void setGpsdPort(std::uint16_t port) { gpsdPort_ = port; }

    // Form_Load: reads the settings, places and fills the window, shows it.
    // The greeting and the rest of the start-up run from the event queue
    // once the window is shown; startingUp() is true until the greeting is
    // over.
    void formLoad();
    bool startingUp() const { return startingUp_; }

    // The handlers (also reached through the controls' signals).
    void optionButtonClick(const OptionButton& b);
    void pageButtonClick(int page);
    void tabStripClick();
    void timer1Timer();
    void command3Click();
    void command6Click();

    // Voice commands: a click or double click in the command box JText1
    // starts listening anew.
    void jtext1Click();
    void jtext1DblClick();
    ListeningLoop& listening() { return *listening_; }
    // Where the error reply's random number in [0, 1) comes from.
    void setRandomSource(std::function<double()> random) { random_ = std::move(random); }

    // The window's own keystrokes: Alt and a letter ("%A"), as a key event
    // queued to this window.
    void sendKeys(char letter);

    // The spoken output of the window: plays the prompt files in order
    // through playPrompt. A prompt started while one of these waits (a click
    // during a prompt) cuts it off, and the rest of this list is dropped, so
    // an older explanation never follows a newer one. Stops when the window
    // closes.
    void speak(const std::vector<std::string>& prompts);

    // PlayPrompt: plays one prompt file (the current prompt) from the sound
    // folder of the window's language, with the sound switch of the
    // settings. The window stays usable while it waits.
    void playPrompt(const std::string& prompt);
    // The prompt played last ("" before the first).
    const std::string& currentPrompt() const { return currentPrompt_; }
    // MMControl1, the window's multimedia control; its done() is
    // MMcontrol1_done, which stores the device's notify code as the
    // completion code that ends a prompt's wait.
    MediaControl& sound() { return *mmControl1_; }

    const SettingsString& settingsString() const { return session_.string; }
    char drive() const { return session_.drive; }
    int pageCode() const { return pageCode_; }
    bool stopFlag() const { return stop_; }
    bool ended() const { return ended_; }
    template <class T = QWidget>
    T* control(const char* name) const {
        return findChild<T*>(QString::fromLatin1(name));
    }

signals:
    // The window has unloaded (settings saved); the program ends.
    void unloaded();
    // speak() is about to say these prompt files.
    void speakRequested(const std::vector<std::string>& prompts);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void setCaptions();
    void showPage(int page);
    void showAllOptions();
    void showSoundChecks();
    void applyColourScheme();
    void showCorrections(bool store);
    void showComLink();
    void searchPorts();
    void attachPort();
    void formUnload();
    void finishStartUp();
    void greet();
    void startVoiceCommands();
    void portButtonClick(const PortButton& b);
    // A button's change without its spoken explanation: value, field and display.
    OptionChange changeOption(const OptionButton& b);
    PortChange changePort(const PortButton& b);
    void setBox(const char* name, const std::string& cp1252);
    std::string boxText(const char* name) const;
    void yieldOnce();
    Language language() const;

    // Voice commands (settings_window_voice.cpp).
    void setUpVoiceCommands();
    void typeIntoCommandBox(const std::string& text);
    std::string commandText() const override;
    void setCommandText(const std::string& text) override;
    void showCommandColours(const CommandBoxColours& colours) override;
    void listeningStarts() override;
    void closeSound() override;
    void handleCommand() override;
    bool stopRequested() const override { return stop_; }
    void voicePage(int page);
    void answerChangeDialog(DialogAnswer answer);
    void moveValue(const char* button);
    void speakErrorReply();

    DosPaths paths_;
    Dialogs& dialogs_;
    WindowPresence* presence_;
    SettingsSession session_;
    std::function<QSize()> screenSize_;
    std::function<QDateTime()> now_;
    std::filesystem::path devRoot_{"/dev"}, sysRoot_{"/sys"};
    std::uint16_t gpsdPort_ = 2947;

    QWidget* frame100_ = nullptr;
    PreviewPicture* picture1_ = nullptr;
    GpsdProbe* probe_ = nullptr;
    MediaControl* mmControl1_ = nullptr;
    std::string currentPrompt_;
    bool startingUp_ = false;
    QTimer timer1_;
    int pageCode_ = 0;
    bool stop_ = false;
    bool filling_ = false;  // controls set by the program, not by the user
    bool ended_ = false;
    ListeningLoop* listening_ = nullptr;
    std::function<double()> random_;
};

}  // namespace settings
}  // namespace tarvok
