// The settings program's side of the settings file: find it on C, then D,
// read it at the start, write it back at the end.
#pragma once

#include <string>

#include "common/settings.h"

namespace tarvok {
class Dialogs;
class DosPaths;
}  // namespace tarvok

namespace tarvok::settings {

struct SettingsSession {
    char drive = 'C';  // where the file was found; C when it is on neither drive
    SettingsString string = SettingsString::settingsProgramTemplate();
    LoadResult load = LoadResult::Missing;
    // False when a file is there that could not be read: it is then left as
    // it is, never replaced by values the user did not choose.
    bool saveAtEnd = true;
};

// Locates and loads the settings file. On neither drive: the Dutch "not
// found" box, then the built-in values, saved on C at the end. A file that
// is there but cannot be read: a box saying so, the built-in values, and
// that file is not written at the end.
SettingsSession openSettings(const DosPaths& paths, Dialogs& dialogs);

// Writes the string back (atomically) unless the session must not; a
// failure is shown in a "TARVOK" box in the window's language, naming the
// file and the reason; the old file stays whole. True when saved.
bool saveAtUnload(const DosPaths& paths, Dialogs& dialogs, const SettingsSession& session);

// The first run: makes a missing drive prefix as the navigator does. False,
// after a message, when it could not be made.
bool provisionForSettings(const DosPaths& paths, Dialogs& dialogs);

}  // namespace tarvok::settings
