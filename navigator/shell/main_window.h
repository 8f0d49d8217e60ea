// The navigator's main window "Tarvok": its controls, the opening sequence
// with the radar screen, the status line, the keyboard commands and STOP.
//
// Every control carries its name as objectName ("Command2", "Label6",
// "Picture1", ...), so scripts and tests find them by name.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "navigator/shell/main_window_controls.h"
#include "navigator/shell/navigator_state.h"
#include "navigator/shell/program_start.h"
#include "navigator/shell/radar_screen.h"
#include "navigator/shell/shell_calls.h"
#include "navigator/shell/window_layout.h"
#include "platform/dos_path.h"

class QLabel;
class QLineEdit;

namespace tarvok {

class Dialogs;
class InstrumentPanel;
class MapPicture;
class PictureClip;
class SettingsLaunch;
class SoundDevice;
class SoundPlayback;

// The window is the status line, the readouts and the modes its parts use;
// navigator_windows.cpp hands each part just the ones it uses.
class MainWindow : public QMainWindow, public ShellPlugs, public StatusLine, public Readouts, public WindowModes {
    Q_OBJECT
public:
    // The radar screen's pace: a frame every kRadarFrameMilliseconds draws
    // kRadarStepsPerFrame sweep steps, so one turn of 721 steps takes about
    // five seconds and the window stays idle in between.
    static constexpr int kRadarFrameMilliseconds = 40;
    static constexpr int kRadarStepsPerFrame = 6;

    MainWindow(NavigatorStart start, DosPaths paths, Dialogs& dialogs, std::unique_ptr<SoundDevice> device,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The source of the screen size (the primary screen by default).
    void setScreenSizeSource(std::function<QSize()> source) { screenSize_ = std::move(source); }

    // ShellPlugs: the map view and the spoken announcements.
    void setMapViewCalls(MapViewCalls* calls) override { map_ = calls; }
    void setSpeechCalls(SpeechCalls* calls) override { speech_ = calls; }

    // Form_Load: the opening sequence. Shows the window and starts the radar
    // screen; the rest of the sequence (the wait for the welcome sound) runs
    // once a map has been loaded.
    void formLoad();

    NavigatorState& state() { return state_; }
    const NavigatorState& state() const { return state_; }
    SoundPlayback& sound() { return *sound_; }
    Dialogs& dialogs() { return dialogs_; }
    const DosPaths& paths() const { return paths_; }
    // The layout computed from the screen size at start, and the one the
    // controls have now (from the window's own size after a resize).
    const WindowLayout& layoutInUse() const { return layout_; }
    const WindowLayout& layoutPlaced() const { return placed_; }

    // The named controls, typed.
    const MainWindowControls& widgets() const { return widgets_; }
    // Every control in table order (widgets, and PicClip1 / MMControl1).
    const std::vector<QObject*>& controls() const { return controls_; }
    MapPicture* picture1() const { return picture1_; }
    InstrumentPanel* picture2() const { return picture2_; }
    PictureClip* picClip1() const { return picClip1_; }

    // StatusLine: Label6; a long text gets a smaller font rather than
    // losing its end.
    void setStatus(const std::string& text) override;
    std::string status() const override;
    // Readouts
    std::string readout(Readout box) const override;
    void setReadout(Readout box, const std::string& text) override;

    // STOP: stops navigation, else playback, else says goodbye and ends the
    // program.
    void cmdQuitClick();
    // WindowModes. stopActiveMode: steps 1 and 2 of STOP only.
    void stopActiveMode() override;
    // Ends route or track playback: clears the playback-active flag, raises
    // the stop request, shows the stopped text, closes the route playback
    // panel in favour of the instrument panel and plays "Route2.WAV".
    void stopPlayback() override;
    void showPlaybackPanel() override;
    void showInstrumentPanel() override;
    void bringToFront() override;
    bool programEnded() const override { return ended_; }
    // The keyboard commands; the key still reaches the focused control.
    void formKeyPress(int keyAscii);
    // Opens the user guide.
    void command6Click();

    // Plugs in SETUP: the button runs the launch, which reports, plays and
    // reloads through this window, and ends when the window closes.
    void attachSettingsLaunch(SettingsLaunch& launch);
    // The reload after the settings program: when the settings file exists,
    // its string is read and decoded as at start, the screen correction
    // taken from it again, and Slider1 and Slider3 set. Captions, tooltips,
    // the sound folder, the colour scheme and the layout stay as the window
    // opened with them.
    void reloadSettings();

    bool radarRunning() const { return radarTimer_.isActive(); }
    int radarStep() const { return sweepStep_; }
    bool formLoadFinished() const { return formLoadFinished_; }

signals:
    // The opening sequence has run to its end (after the first map).
    void formLoadDone();
    // The window was closed; the program ends.
    void ended();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void setLanguageTexts();
    void applyColourScheme();
    void applyLayout(const WindowLayout& l);
    // Places the controls by a layout (at start, and again at each resize).
    void placeControls(const WindowLayout& l);
    static QSize minimumWindowSize(const WindowLayout& l);
    // The corner boxes are as wide as their text needs (at least their
    // designed width), the right-hand ones keeping their right edge, and
    // show their text from its start.
    void fitCornerBoxes();
    void showClock();
    void yieldOnce();
    void radarTick();
    void startRadar();
    void finishFormLoad();
    void upperCase(QLineEdit* box);
    void stopNavigation();

    NavigatorState state_;
    DosPaths paths_;
    Dialogs& dialogs_;
    std::unique_ptr<SoundPlayback> sound_;
    MapViewCalls* map_ = nullptr;
    SpeechCalls* speech_ = nullptr;
    std::function<QSize()> screenSize_;
    WindowLayout layout_;  // the layout of the screen size, used at start
    WindowLayout placed_;  // the layout the controls have now

    std::vector<QObject*> controls_;
    MainWindowControls widgets_;
    QLabel* label6_ = nullptr;
    MapPicture* picture1_ = nullptr;
    InstrumentPanel* picture2_ = nullptr;
    PictureClip* picClip1_ = nullptr;
    QWidget* shapes_[3] = {nullptr, nullptr, nullptr};
    QWidget* frame10_ = nullptr;

    QTimer radarTimer_;
    RadarPoint radarCentre_{0, 0};
    int sweepStep_ = 0;
    unsigned welcomeSound_ = 0;  // number of the welcome sound among all started
    bool welcomeStarted_ = false;
    bool formLoadFinished_ = false;
    bool ended_ = false;
};

}  // namespace tarvok
