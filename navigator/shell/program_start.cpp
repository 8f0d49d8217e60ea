#include "program_start.h"

#include "platform/dialogs.h"
#include "platform/dos_path.h"
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

std::optional<NavigatorStart> startNavigator(const DosPaths& paths, Dialogs& dialogs) {
    std::optional<char> drive = locateSettingsFile(paths);
    if (!drive) {
        dialogs.critical(joinMessageLines(neededFilesNotFoundLines()));
        return std::nullopt;
    }
    NavigatorStart start;
    start.programDrive = *drive;
    // A file that vanished or cannot be read between locating and loading
    // leaves the built-in string; its fields are then not decoded.
    if (loadSettings(paths, *drive, start.settingsString) == LoadResult::Loaded)
        start.settings = decodeForNavigator(start.settingsString);
    return start;
}

std::optional<NavigatorStart> prepareNavigator(const DosPaths& paths, Dialogs& dialogs) {
    ProvisionResult made = provisionPrefix(paths.prefix(), installedDataDir(),
                                           SettingsString::settingsProgramTemplate().bytes());
    if (!made.ok) {
        dialogs.critical(joinMessageLines(
            {"TARVOK", "", "The program folder could not be created:", "", made.error}));
        return std::nullopt;
    }
    return startNavigator(paths, dialogs);
}

}  // namespace tarvok
