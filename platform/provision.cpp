#include "provision.h"

#include "platform/regular_file.h"

#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace tarvok {

namespace {

// Copies one file into a new file (never through a link at `to`), owner
// writable; 0 or the errno of the step that failed (a full disk is ENOSPC,
// however the copy was cut short).
int copyFileWritable(const fs::path& from, const fs::path& to, fs::perms mode) {
    RegularFile in = RegularFile::openForReading(from);
    if (!in) return in.error() == kNotAFile ? 0 : in.error();  // a pipe or device there is no part of the data
    const mode_t bits = static_cast<mode_t>(mode | fs::perms::owner_read | fs::perms::owner_write) & 07777;
    RegularFile out = RegularFile::openForWriting(to, RegularFile::Creation::Fresh, bits);
    if (!out) return out.error() == kNotAFile ? EEXIST : out.error();
    off_t at = 0;
    for (;;) {
        std::optional<std::string> chunk = in.read(1 << 20);
        if (!chunk) return in.error();
        if (chunk->empty()) break;
        if (!out.writeAt(*chunk, at)) return out.error();
        at += static_cast<off_t>(chunk->size());
    }
    return out.close() ? 0 : out.error();
}

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
            if (const int e = copyFileWritable(it->path(), target, it->status().permissions()))
                ec = std::error_code(e, std::generic_category());
        }
        if (ec) return false;
    }
    return !ec;
}

// The settings file, made fresh in the staging folder.
int writeFile(const fs::path& path, const std::string& bytes) {
    RegularFile out = RegularFile::openForWriting(path, RegularFile::Creation::Fresh);
    if (!out) return out.error();
    if (!out.writeAt(bytes, 0)) return out.error();
    return out.close() ? 0 : out.error();
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
    if (const int e = writeFile(staging / "drive_c" / "WINDOWS" / "VELKAR.DLL", settingsTemplate))
        return fail("cannot write the settings file in " + prefix.string() + ": " +
                    std::generic_category().message(e));

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
