#include "navigator/map/map_database_files.h"

#include "common/text.h"
#include "platform/file_error_text.h"
#include "platform/regular_file.h"

namespace tarvok::map {

std::optional<std::string> DosMapFolderFiles::readFile(const std::string& dosPath) {
    return readStart(dosPath, std::string::npos);
}

std::optional<std::string> DosMapFolderFiles::readStart(const std::string& dosPath, std::size_t count) {
    // A pipe or device named like a corner file or a bitmap reads as nothing
    // at once; a database of 10,000 maps is 1.4 MB, read whole.
    return readRegularFile(paths_.toNative(dosPath), nullptr, count);
}

std::vector<std::string> cornerFilesIn(const DosPaths& paths, const std::string& dosFolder) {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(paths.toNative(dosFolder), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 4 && upperAscii(name.substr(name.size() - 4)) == ".DES" && entry.is_regular_file(ec))
            files.push_back(dosFolder + "\\" + name);
    }
    return files;
}

std::optional<std::string> writeMapDatabase(const std::filesystem::path& target, std::string_view content) {
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    if (const int error = replaceFile(target, content)) return fileErrorReason(error);
    return std::nullopt;
}

}  // namespace tarvok::map
