#include "provision.h"

#include <fstream>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace tarvok {

namespace {

// Copies a folder tree; folders are made fresh (writable) and every file is
// made writable for its owner, whatever the installed copy's mode.
bool copyTreeWritable(const fs::path& from, const fs::path& to, std::error_code& ec) {
    fs::create_directories(to, ec);
    if (ec) return false;
    for (fs::recursive_directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        fs::path target = to / fs::relative(it->path(), from);
        if (it->is_directory()) {
            fs::create_directories(target, ec);
        } else if (it->is_regular_file()) {
            fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, ec);
            if (!ec)
                fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write,
                                fs::perm_options::add, ec);
        }
        if (ec) return false;
    }
    return !ec;
}

bool writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

fs::path installedDataDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return (exe.parent_path() / ".." / "share" / "tarvok").lexically_normal();
}

ProvisionResult provisionPrefix(const fs::path& prefix, const fs::path& dataDir,
                                const std::string& settingsTemplate) {
    ProvisionResult result;
    std::error_code ec;
    if (fs::exists(prefix, ec)) return result;

    std::random_device rd;
    fs::path staging = prefix;
    staging += ".new-" + std::to_string(rd());
    auto fail = [&](const std::string& what) {
        std::error_code rec;
        fs::remove_all(staging, rec);
        result.ok = false;
        result.error = what;
        return result;
    };

    if (!fs::create_directories(staging / "drive_c" / "WINDOWS", ec))
        return fail("cannot create " + prefix.string() + ": " + ec.message());
    fs::create_directories(staging / "drive_c" / "TARVOK", ec);
    fs::create_directories(staging / "drive_d", ec);
    fs::create_directories(staging / "dosdevices", ec);
    if (ec) return fail("cannot create " + prefix.string() + ": " + ec.message());

    if (!dataDir.empty() && fs::is_directory(dataDir, ec)) {
        if (!copyTreeWritable(dataDir, staging / "drive_c" / "TARVOK", ec))
            return fail("cannot copy " + dataDir.string() + ": " + ec.message());
    }
    if (!writeFile(staging / "drive_c" / "WINDOWS" / "VELKAR.DLL", settingsTemplate))
        return fail("cannot write the settings file in " + prefix.string());

    fs::rename(staging, prefix, ec);
    if (ec) {
        // Another process may have made the prefix meanwhile; that one wins.
        if (fs::exists(prefix)) {
            std::error_code rec;
            fs::remove_all(staging, rec);
            return result;
        }
        return fail("cannot create " + prefix.string() + ": " + ec.message());
    }
    result.created = true;
    return result;
}

}  // namespace tarvok
