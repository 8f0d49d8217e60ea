// The titles by which the programs find each other's windows: the settings
// window carries one of these while it is open, and the navigator's SETUP
// waits until neither is found.
#pragma once

#include "common/language.h"

namespace tarvok {

inline constexpr const char* kSettingsTitleDutch = "TARVOK - INSTELLINGEN";
inline constexpr const char* kSettingsTitleEnglish = "TARVOK - SETTINGS";

constexpr const char* settingsWindowTitle(Language l) {
    return inLanguage(l, kSettingsTitleDutch, kSettingsTitleEnglish);
}

}  // namespace tarvok
