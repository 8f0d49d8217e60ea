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

namespace {

// A folder the user made for the prefix holds neither drive yet: it is
// provisioned like a missing one. A prefix with a drive is left as it is.
bool holdsNoDrive(const fs::path& prefix) {
    std::error_code ec;
    if (!fs::is_directory(prefix, ec)) return false;
    return !fs::exists(fs::symlink_status(prefix / "drive_c", ec)) &&
           !fs::exists(fs::symlink_status(prefix / "drive_d", ec));
}

// Moves the staged parts into an existing prefix, drive_c first: once the
// settings file is in place the prefix is complete; a part the prefix
// already holds (another process's, or the user's dosdevices) stays.
std::error_code moveInto(const fs::path& staging, const fs::path& prefix) {
    std::error_code ec;
    for (const char* part : {"drive_c", "drive_d", "dosdevices"}) {
        std::error_code exists;
        if (fs::exists(fs::symlink_status(prefix / part, exists))) continue;
        fs::rename(staging / part, prefix / part, ec);
        if (ec && !fs::exists(fs::symlink_status(prefix / part, exists))) return ec;
        ec.clear();
    }
    return ec;
}

}  // namespace

ProvisionResult provisionPrefix(const fs::path& prefix, const fs::path& dataDir, const std::string& settingsTemplate) {
    ProvisionResult result;
    std::error_code ec;
    const bool emptyFolder = holdsNoDrive(prefix);
    if (!emptyFolder && fs::exists(fs::symlink_status(prefix, ec))) return result;

    // Assembled beside a missing prefix, inside an existing one (whose
    // parent the user may not be allowed to write).
    std::random_device rd;
    fs::path staging = emptyFolder ? prefix / ".new-" : fs::path(prefix.string() + ".new-");
    staging += std::to_string(rd());
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
        return fail("cannot write the settings file in " + prefix.string() + ": " + std::generic_category().message(e));

    if (emptyFolder) {
        if (const std::error_code moved = moveInto(staging, prefix))
            return fail("cannot fill " + prefix.string() + ": " + moved.message());
        fs::remove_all(staging, ec);
        result.created = true;
        return result;
    }
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
