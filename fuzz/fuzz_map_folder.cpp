// The map database built from a real folder on disk whose entries the input
// makes: corner files and bitmap headers, but also named pipes, links to
// endless devices (/dev/zero, /dev/urandom), links to other entries and
// dangling ones, folders named like files. The build must neither wait on
// a pipe nor read a device without end, write one record per readable
// corner file, and never write through the link planted at the database's
// own name (or at a temporary name beside it) to a file outside the prefix.
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "navigator/map/map_database_files.h"
#include "platform/regular_file.h"

namespace fs = std::filesystem;
using namespace tarvok;

namespace {

struct Place {
    fs::path root;     // a temporary folder of this process
    fs::path prefix;   // root/prefix: the drive prefix
    fs::path outside;  // root/outside: a file the programs must never write
};

// One folder for the run, made afresh at start (left for a look after a
// crash; the next run clears it). scripts/fuzz.sh runs one process a target.
const Place& place() {
    static const Place p = [] {
        const fs::path root = fs::temp_directory_path() / "tarvok-fuzz-map-folder";
        std::error_code ec;
        fs::remove_all(root, ec);
        Place made{root, root / "prefix", root / "outside"};
        fs::create_directories(made.prefix / "drive_c" / "TARVOK");
        return made;
    }();
    return p;
}

// A file name from the input: a few letters or digits and an ending.
std::string entryName(fuzz::Input& in) {
    static const char* const kEndings[] = {".des", ".DES", ".bmp", ".BMP", ".Des", ""};
    std::string name;
    for (char c : in.take(1 + in.byte() % 6))
        name.push_back(std::isalnum(static_cast<unsigned char>(c)) ? c
                                                                   : char('A' + static_cast<unsigned char>(c) % 26));
    return name + kEndings[in.byte() % 6];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Place& p = place();
    const fs::path folder = p.prefix / "drive_c" / "KAARTEN";
    const fs::path database = p.prefix / "drive_c" / "TARVOK" / "Autoload.TVK";
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::remove(database, ec);
    fs::remove(database.string() + ".new", ec);
    fs::create_directories(folder);
    const std::string keep = "never written";
    {
        RegularFile out = RegularFile::openForWriting(p.outside, RegularFile::Creation::IfMissing);
        if (!out || !out.writeAt(keep, 0) || ::ftruncate(out.fd(), off_t(keep.size())) != 0) std::abort();
    }

    fuzz::Input in(data, size);
    const std::uint8_t plant = in.byte();
    if (plant & 1) fs::create_symlink(p.outside, database, ec);
    if (plant & 2) fs::create_symlink(p.outside, database.string() + ".new", ec);
    std::vector<std::string> names;
    while (!in.empty() && names.size() < 16) {
        const std::string name = entryName(in);
        const fs::path at = folder / name;
        const std::uint8_t kind = in.byte() % 8;
        const std::string_view content = in.until('\0');
        if (fs::exists(fs::symlink_status(at, ec))) continue;
        switch (kind) {
        case 0:
        case 1: {
            RegularFile f = RegularFile::openForWriting(at, RegularFile::Creation::Fresh);
            if (f) f.writeAt(content, 0);
            break;
        }
        case 2: ::mkfifo(at.c_str(), 0600); break;
        case 3: fs::create_symlink("/dev/zero", at, ec); break;
        case 4: fs::create_symlink("/dev/urandom", at, ec); break;
        case 5: fs::create_directories(at / "inside", ec); break;
        case 6:
            fs::create_symlink(names.empty() ? std::string("missing") : names[content.size() % names.size()], at, ec);
            break;
        case 7: fs::create_symlink(p.outside, at, ec); break;
        }
        names.push_back(name);
    }

    const DosPaths paths(p.prefix);
    const std::vector<std::string> corners = map::cornerFilesIn(paths, "C:\\KAARTEN");
    map::MapDatabaseBuild build(corners, map::BitmapSize{640, 480});
    map::DosMapFolderFiles files(paths);
    while (!build.done()) {
        (void)build.nextPath();
        (void)build.step(files);
    }
    if (build.content().size() % map::kMapRecordSize != 0) __builtin_trap();
    if (build.recordCount() + build.leftOutLongPaths() + build.leftOutNotNumeric() != corners.size()) __builtin_trap();

    const auto error = map::writeMapDatabase(database, build.content());
    if (error) __builtin_trap();  // the prefix is ours: the database always gets written
    if (readRegularFile(database) != build.content()) __builtin_trap();
    if (fs::is_symlink(database)) __builtin_trap();
    if (readRegularFile(p.outside) != keep) __builtin_trap();
    return 0;
}
