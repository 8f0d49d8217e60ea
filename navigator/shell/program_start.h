// Program start of the navigator: find and read the settings file before the
// main window opens.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/language.h"
#include "common/program_folder.h"
#include "common/settings.h"

namespace tarvok {

class DosPaths;
class Dialogs;

struct NavigatorStart {
    char programDrive = 'C';  // where the settings file was found
    SettingsString settingsString = SettingsString::navigatorTemplate();
    NavigatorSettings settings;  // decoded from the file
};

// The English message shown when the settings file is on neither drive
// (the language is not known yet at that point).
std::vector<std::string> neededFilesNotFoundLines();

// The English message shown when the settings file is there but cannot be
// read (`reason` names the file and says why).
std::vector<std::string> settingsUnreadableLines(const std::string& reason);

// After SETUP, when the settings file cannot be read again: the settings in
// use stay, and the user is told so in the window's language.
std::vector<std::string> settingsNotReloadedLines(Language language, const std::string& reason);

// Locates the settings file on C, then D, reads and decodes it. When it is on
// neither drive, shows the "Needed files NOT found!" box and returns nothing:
// the program then ends without opening its window. A file that is there but
// cannot be read (no permission, an I/O error, a pipe) ends it the same way,
// after a box that names the file and the reason: the navigator never runs
// on settings the user did not choose.
std::optional<NavigatorStart> startNavigator(const DosPaths& paths, Dialogs& dialogs);

// The whole program start: makes the drive prefix on the first run (a
// message when it cannot be made), then startNavigator.
std::optional<NavigatorStart> prepareNavigator(const DosPaths& paths, Dialogs& dialogs);

}  // namespace tarvok
