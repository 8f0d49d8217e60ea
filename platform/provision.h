// First-run set-up of the drive prefix.
//
// When the prefix folder does not exist, both programs create it before
// they look for the settings file: drive_c/WINDOWS/VELKAR.DLL from the
// built-in settings template, drive_c/TARVOK/ with everything the installed
// data folder holds (the sound sets, the user guide, the sample maps),
// copied writable, and an empty drive_d. The prefix is assembled in a
// temporary folder beside it and renamed into place, so an interrupted
// first run leaves no half-made prefix behind.
#pragma once

#include <filesystem>
#include <string>

namespace tarvok {

struct ProvisionResult {
    bool created = false;  // the prefix did not exist and was made now
    bool ok = true;        // false when it did not exist and could not be made
    std::string error;
};

ProvisionResult provisionPrefix(const std::filesystem::path& prefix,
                                const std::filesystem::path& dataDir,
                                const std::string& settingsTemplate);

// The installed data folder of the running program: <exe folder>/../share/tarvok.
std::filesystem::path installedDataDir();

}  // namespace tarvok
