// The files behind the map database, read and written through DOS paths
// under the drive prefix: the corner-coordinate files of a map folder, the
// bitmap headers beside them, and the database file itself. Plain C++.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "navigator/map/map_database.h"
#include "platform/dos_path.h"

namespace tarvok::map {

// Files read by DOS path under the drive prefix.
class DosMapFolderFiles : public MapFolderFiles {
public:
    explicit DosMapFolderFiles(const DosPaths& paths) : paths_(paths) {}
    std::optional<std::string> readFile(const std::string& dosPath) override;
    std::optional<std::string> readStart(const std::string& dosPath, std::size_t count) override;

private:
    const DosPaths& paths_;
};

// The "*.des" files of a DOS folder (any case of the extension) as full DOS
// paths (folder + "\" + name), in the order the file system lists them.
std::vector<std::string> cornerFilesIn(const DosPaths& paths, const std::string& dosFolder);

// Writes the database content beside the target and renames it over the
// target, so a failed write keeps the previous database whole. Nothing on
// success, else the reason.
std::optional<std::string> writeMapDatabase(const std::filesystem::path& target, std::string_view content);

}  // namespace tarvok::map
