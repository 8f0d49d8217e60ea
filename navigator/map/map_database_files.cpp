#include "navigator/map/map_database_files.h"

#include <fstream>

#include "common/text.h"

namespace tarvok::map {

std::optional<std::string> DosMapFolderFiles::readFile(const std::string& dosPath) {
    return readStart(dosPath, std::string::npos);
}

std::optional<std::string> DosMapFolderFiles::readStart(const std::string& dosPath, std::size_t count) {
    std::ifstream in(paths_.toNative(dosPath), std::ios::binary);
    if (!in) return std::nullopt;
    if (count == std::string::npos) {
        // The whole file in one read (a database of 10,000 maps is 1.4 MB).
        in.seekg(0, std::ios::end);
        const std::streamoff size = in.tellg();
        in.seekg(0, std::ios::beg);
        if (size < 0 || !in) return std::nullopt;
        count = static_cast<std::size_t>(size);
    }
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return std::nullopt;
    return bytes;
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
    const std::filesystem::path temporary = target.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        if (!out) {
            std::filesystem::remove(temporary, ec);
            return std::string("cannot write ") + temporary.string();
        }
    }
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return ec.message();
    }
    return std::nullopt;
}

}  // namespace tarvok::map
