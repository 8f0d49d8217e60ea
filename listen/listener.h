// tarvok-listen's states and its dealings with other windows.
//
// It shows its state as the title of a window through the presence layer:
// command mode, dictation mode or microphone off, the three titles the
// settings program looks for. Two messages to that title switch it, as the
// keystrokes of a dictation program do: "^+D" (Ctrl+Shift+D) to dictation
// mode, "^+O" (Ctrl+Shift+O) the microphone off and on again. Switching to
// dictation while the microphone is off keeps it off: the mode applies when
// it comes back on.
//
// A phrase heard in dictation mode with the microphone on is sent, as one
// text, to the settings window (Dutch title first, then English); in
// command mode phrases are only reported.
#pragma once

#include <QObject>
#include <string>
#include <string_view>

#include "common/window_titles.h"
#include "platform/window_presence.h"

namespace tarvok::listen {

inline constexpr std::string_view commandModeTitle = kRecogniserCommandTitle;
inline constexpr std::string_view dictationTitle = kRecogniserDictationTitle;
inline constexpr std::string_view microphoneOffTitle = kRecogniserMutedTitle;
inline constexpr std::string_view settingsTitles[] = {kSettingsTitleDutch, kSettingsTitleEnglish};
inline constexpr std::string_view toDictationKeys = kDictationKeys;
inline constexpr std::string_view microphoneKeys = kMicrophoneKeys;

class Listener : public QObject {
    Q_OBJECT
public:
    enum class Mode { Command, Dictation };

    explicit Listener(WindowPresence& presence, QObject* parent = nullptr);

    // Announces the starting state (dictation, microphone on). False when
    // another recogniser already shows one of the titles, or the title
    // could not be announced; `error` says which.
    bool start(std::string& error);

    Mode mode() const { return mode_; }
    bool microphoneOn() const { return microphoneOn_; }
    std::string title() const;

    // A command phrase was heard. Returns the title of the window it was
    // delivered to, or empty when it was kept (command mode, microphone
    // off, or no settings window open).
    std::string hear(const std::string& phrase);

signals:
    // The microphone was switched on or off by a message; emitted before the
    // new title is shown.
    void microphoneSwitched(bool on);

private:
    void onMessage(const std::string& text);
    void show();

    WindowPresence& presence_;
    Mode mode_ = Mode::Dictation;
    bool microphoneOn_ = true;
};

}  // namespace tarvok::listen
