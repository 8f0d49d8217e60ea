// First-run set-up of the drive prefix.
//
// When the prefix folder does not exist, or exists but holds neither
// drive_c nor drive_d (a folder made for it), both programs fill it before
// they look for the settings file: drive_c/WINDOWS/VELKAR.DLL from the
// built-in settings template, drive_c/TARVOK/ with everything the installed
// data folder holds (the sound sets, the user guide, the sample maps),
// copied writable, and an empty drive_d. The prefix is assembled in a
// temporary folder beside it (inside it, for an existing folder) and renamed
// into place, drive_c first, so an interrupted first run leaves no half-made
// drive behind. A prefix that holds a drive is never touched: without the
// settings file it gives the "Needed files NOT found!" message.
#pragma once

#include <filesystem>
#include <string>

namespace tarvok {

struct ProvisionResult {
    bool created = false;  // the prefix was missing or empty and was made now
    bool ok = true;        // false when it did not exist and could not be made
    std::string error;
};

ProvisionResult provisionPrefix(const std::filesystem::path& prefix, const std::filesystem::path& dataDir,
                                const std::string& settingsTemplate);

// The installed data folder of the running program: <exe folder>/../share/tarvok.
std::filesystem::path installedDataDir();

}  // namespace tarvok
