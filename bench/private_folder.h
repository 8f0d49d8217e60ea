// A folder for a benchmark's temporary files that only this process uses:
// made with mkdtemp under the temporary folder (never a fixed name another
// user could place first), removed with its contents when the program ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace tarvok::bench {

inline const std::filesystem::path& privateFolder() {
    struct Folder {
        std::filesystem::path path;
        Folder() {
            std::string pattern = (std::filesystem::temp_directory_path() / "tarvok-bench-XXXXXX").string();
            if (!mkdtemp(pattern.data())) throw std::runtime_error("no private temporary folder");
            path = pattern;
        }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Folder folder;
    return folder.path;
}

// `variable`'s value when set (a folder or file the user keeps between
// runs), else `name` in the private folder.
inline std::filesystem::path benchPath(const char* variable, const char* name) {
    const char* p = std::getenv(variable);
    return p && *p ? std::filesystem::path(p) : privateFolder() / name;
}

}  // namespace tarvok::bench
