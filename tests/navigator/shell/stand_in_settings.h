// The stand-in settings program for SETUP tests: the presence helper started
// by the launch as a second process. It holds a settings window title for a
// while (or until it is sent "quit"), then writes the given fields into the
// settings file and ends, as the settings program saves when its window
// closes.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "navigator/shell/settings_launch.h"

namespace tarvok::test {

inline SettingsProgram standInSettingsProgram(const std::string& title, int delayMs, int holdMs,
                                              const std::filesystem::path& settingsFile,
                                              const std::vector<std::pair<int, std::string>>& fields) {
    const std::filesystem::path helper(TARVOK_PRESENCE_HELPER);
    SettingsProgram p;
    p.name = helper.filename().string();
    p.folders = {helper.parent_path().string()};
    p.arguments = {"--title", title, "--delay", std::to_string(delayMs), "--hold", std::to_string(holdMs)};
    for (const auto& [pos, text] : fields)
        for (const std::string& a : {std::string("--set-field"), settingsFile.string(), std::to_string(pos), text})
            p.arguments.push_back(a);
    p.lookInterval = std::chrono::milliseconds(20);
    return p;
}

}  // namespace tarvok::test
