// The files behind the map database for the command line: the drive prefix,
// the database in the program folder, the corner files of a folder.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "common/settings.h"
#include "common/text.h"
#include "navigator/map/map_database.h"
#include "platform/dos_path.h"

namespace tarvok::tool {

// Files read by DOS path under the drive prefix.
class DosMapFolderFiles : public map::MapFolderFiles {
public:
    explicit DosMapFolderFiles(const DosPaths& paths) : paths_(paths) {}
    std::optional<std::string> readFile(const std::string& dosPath) override {
        return readStart(dosPath, std::string::npos);
    }
    std::optional<std::string> readStart(const std::string& dosPath, std::size_t count) override {
        std::ifstream in(paths_.toNative(dosPath), std::ios::binary);
        if (!in) return std::nullopt;
        std::string bytes;
        if (count == std::string::npos) {
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        } else {
            bytes.resize(count);
            in.read(bytes.data(), static_cast<std::streamsize>(count));
            bytes.resize(static_cast<std::size_t>(in.gcount()));
        }
        if (in.bad()) return std::nullopt;
        return bytes;
    }

private:
    const DosPaths& paths_;
};

// "C:\TARVOK\Autoload.TVK" on the drive where the settings file lies (C
// when there is none).
inline std::string mapDatabaseDosPath(const DosPaths& paths) {
    const char drive = locateSettingsFile(paths).value_or('C');
    return std::string(1, drive) + ":\\TARVOK\\" + map::kMapDatabaseName;
}

// The "*.des" files of a DOS folder as full DOS paths, in listing order.
inline std::vector<std::string> cornerFilesIn(const DosPaths& paths, const std::string& dosFolder) {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(paths.toNative(dosFolder), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 4 && upperAscii(name.substr(name.size() - 4)) == ".DES" && entry.is_regular_file(ec))
            files.push_back(dosFolder + "\\" + name);
    }
    return files;
}

}  // namespace tarvok::tool
