// SETUP: starts the settings program TarvokSET as a process of its own,
// waits until its window has closed, and has the navigator read the
// settings file again.
//
// The steps run in this order: the status text "VERANDER INSTELLING" /
// "CHANGE SETTINGS", the start of the program (the navigator's own folder
// first, then the search path), "Instel1.WAV", a grace period of 10 seconds
// in which the settings window has time to appear, then the wait until no
// window titled "TARVOK - INSTELLINGEN" or "TARVOK - SETTINGS" is open, then
// the reload. The grace period and the wait are driven by a timer that looks
// for the titles a few times a second, so the window stays responsive and a
// running navigation or playback goes on, every fix shown and recorded.
//
// A settings window that had not appeared by the end of the grace period is
// still watched for: the settings are reloaded at once, and once more after
// that window has appeared and closed, so changes made in a slowly starting
// settings program are not lost until the next start.
//
// The started program itself is watched too: when it ends, its window is
// gone with it, so the grace period and the wait end at once and the
// settings are reloaded, even when the window opened and closed between
// two looks. A settings window still open then (one started otherwise) is
// waited for as before.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/language.h"
#include "common/window_titles.h"

namespace tarvok {

class ProcessEndWatch;
class WindowPresence;

// What is started, where it is looked for, and how the wait is paced.
struct SettingsProgram {
    std::string name = "TarvokSET";
    // Native folders looked in first, in order; then the search path (PATH).
    // Empty means the navigator's own folder.
    std::vector<std::string> folders;
    std::vector<std::string> arguments;
    std::chrono::milliseconds gracePeriod{10000};
    std::chrono::milliseconds lookInterval{250};
};

class SettingsLaunch : public QObject {
    Q_OBJECT
public:
    // What the launch does through the main window.
    struct Calls {
        std::function<Language()> language;                 // the window's language now
        std::function<void(const std::string&)> setStatus;  // the status line (Windows-1252)
        std::function<void()> playSetupSound;               // "Instel1.WAV" through PlaySound
        std::function<void()> reload;                       // read and decode the settings file
        std::function<void(const std::string&)> critical;   // a "TARVOK" message box
    };

    enum class Phase {
        Idle,       // no settings program is waited for
        Starting,   // started; its sound plays
        Grace,      // the grace period runs
        Waiting,    // waiting for the settings window to close
        LateWatch,  // reloaded after the grace period; watching for a late window
    };

    explicit SettingsLaunch(WindowPresence& presence, QObject* parent = nullptr);
    ~SettingsLaunch() override;

    void setCalls(Calls calls) { calls_ = std::move(calls); }
    void setProgram(SettingsProgram program) { program_ = std::move(program); }
    const SettingsProgram& program() const { return program_; }

    // SetupCommand_Click. While a settings window is open (or one was just
    // started) it starts no other: the status line says so, and the reload
    // follows when that window closes.
    void setupCommandClick();

    // The window has closed: no more looks, no more reloads.
    void stop();

    Phase phase() const { return phase_; }
    bool settingsWindowOpen() const;

    // The status texts and the message lines when the program could not be
    // started (`tried` names the places looked in).
    static const char* changeSettingsText(Language l);
    static const char* alreadyOpenText(Language l);
    static std::vector<std::string> notStartedLines(Language l, const std::vector<std::string>& tried, bool found);

signals:
    // After each reload of the settings file.
    void reloaded();

private:
    void look();
    // The started program has ended: the wait ends now, not at a look.
    void programEnded();
    void reload();
    // Starts the program; false with the message shown when it could not.
    bool start();
    std::vector<std::string> folders() const;

    WindowPresence& presence_;
    Calls calls_;
    SettingsProgram program_;
    Phase phase_ = Phase::Idle;
    bool seen_ = false;  // the settings window was found since the start
    bool stopped_ = false;
    std::unique_ptr<ProcessEndWatch> programWatch_;  // the program started last
    bool programEnded_ = false;                      // ... and it has ended
    QTimer lookTimer_;
    QElapsedTimer grace_;
};

}  // namespace tarvok
