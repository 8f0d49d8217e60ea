#include "settings/settings_file.h"

#include "platform/dialogs.h"
#include "platform/dos_path.h"
#include "platform/provision.h"
#include "settings/form_logic.h"
#include "settings/prompts.h"

namespace tarvok::settings {

SettingsSession openSettings(const DosPaths& paths, Dialogs& dialogs) {
    SettingsSession session;
    std::optional<char> drive = locateSettingsFile(paths);
    if (!drive) {
        dialogs.critical(joinMessageLines(filesNotFoundLines()));
        return session;
    }
    session.drive = *drive;
    session.load = loadSettings(paths, session.drive, session.string);
    if (session.load == LoadResult::Unreadable) {
        session.saveAtEnd = false;
        dialogs.critical(joinMessageLines(unreadableSettingsLines(settingsFileDosPath(session.drive))));
    }
    return session;
}

bool saveAtUnload(const DosPaths& paths, Dialogs& dialogs, const SettingsSession& session) {
    if (!session.saveAtEnd) return false;
    SaveResult r = saveSettings(paths, session.drive, session.string);
    if (r.ok) return true;
    std::string dos = settingsFileDosPath(session.drive);
    dialogs.critical(joinMessageLines(
        saveFailedLines(languageIn(session.string), dos, paths.toNative(dos).string(), r.errorNumber, r.error)));
    return false;
}

bool provisionForSettings(const DosPaths& paths, Dialogs& dialogs) {
    ProvisionResult made =
        provisionPrefix(paths.prefix(), installedDataDir(), SettingsString::settingsProgramTemplate().bytes());
    if (made.ok) return true;
    dialogs.critical(joinMessageLines({"TARVOK", "", "De programmamap kon niet worden gemaakt:", "", made.error}));
    return false;
}

}  // namespace tarvok::settings
