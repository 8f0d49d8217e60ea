// The titles by which the programs find each other's windows: the settings
// window carries one of these while it is open, and the navigator's SETUP
// waits until neither is found. The recogniser of spoken commands shows its
// state as one of three titles and takes two keystrokes as messages.
#pragma once

#include "common/language.h"

namespace tarvok {

inline constexpr const char* kSettingsTitleDutch = "TARVOK - INSTELLINGEN";
inline constexpr const char* kSettingsTitleEnglish = "TARVOK - SETTINGS";

constexpr const char* settingsWindowTitle(Language l) {
    return inLanguage(l, kSettingsTitleDutch, kSettingsTitleEnglish);
}

// The recogniser's states: command mode, dictation (it types what it hears
// into the settings window's command box), microphone off.
inline constexpr const char* kRecogniserCommandTitle = "FreeSpeech - Opdrachtmodus";
inline constexpr const char* kRecogniserDictationTitle = "FreeSpeech - Dicteermodus";
inline constexpr const char* kRecogniserMutedTitle = "FreeSpeech - Microfoon uit";
// Ctrl+Shift+D switches it to dictation, Ctrl+Shift+O turns its microphone
// off or on again.
inline constexpr const char* kDictationKeys = "^+D";
inline constexpr const char* kMicrophoneKeys = "^+O";

}  // namespace tarvok
