#include "program_start.h"

#include "platform/dialogs.h"
#include "platform/dos_path.h"
#include "platform/file_error_text.h"
#include "platform/provision.h"

namespace tarvok {

std::vector<std::string> neededFilesNotFoundLines() {
    return {"TARVOK",
            "",
            "Needed files NOT found!",
            "",
            "You have probably not installed      ",
            "the software correctly",
            "Please re-install the software."};
}

std::vector<std::string> settingsUnreadableLines(const std::string& reason) {
    return {"TARVOK", "", "The settings file cannot be read:",
            reason,   "", "Please check the file and start the program again."};
}

std::vector<std::string> settingsNotReloadedLines(Language language, const std::string& reason) {
    return {
        "TARVOK",
        "",
        inLanguage(language, "Het instellingenbestand kan niet worden gelezen:", "The settings file cannot be read:"),
        reason,
        "",
        inLanguage(language, "De huidige instellingen blijven van kracht.", "The settings in use stay as they were.")};
}

std::optional<NavigatorStart> startNavigator(const DosPaths& paths, Dialogs& dialogs) {
    std::optional<char> drive = locateSettingsFile(paths);
    if (!drive) {
        dialogs.critical(joinMessageLines(neededFilesNotFoundLines()));
        return std::nullopt;
    }
    NavigatorStart start;
    start.programDrive = *drive;
    // A file that vanished between locating and loading leaves the built-in
    // string; its fields are then not decoded.
    int error = 0;
    switch (loadSettings(paths, *drive, start.settingsString, &error)) {
    case LoadResult::Loaded: start.settings = decodeForNavigator(start.settingsString); break;
    case LoadResult::Missing: break;
    case LoadResult::Unreadable:
        dialogs.critical(joinMessageLines(settingsUnreadableLines(fileErrorText(settingsFileDosPath(*drive), error))));
        return std::nullopt;
    }
    return start;
}

std::optional<NavigatorStart> prepareNavigator(const DosPaths& paths, Dialogs& dialogs) {
    ProvisionResult made =
        provisionPrefix(paths.prefix(), installedDataDir(), SettingsString::settingsProgramTemplate().bytes());
    if (!made.ok) {
        dialogs.critical(joinMessageLines({"TARVOK", "", "The program folder could not be created:", "", made.error}));
        return std::nullopt;
    }
    return startNavigator(paths, dialogs);
}

}  // namespace tarvok
