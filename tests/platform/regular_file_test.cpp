#include "platform/regular_file.h"
#include "platform/file_error_text.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>

#include "tests/support/fifo_guard.h"
#include "tests/support/small_disk.h"
#include "tests/support/temp_prefix.h"

namespace fs = std::filesystem;

namespace tarvok {
namespace {

using test::FifoGuard;
using test::readFile;
using test::TempPrefix;
using test::writeFile;

// What stands where a file is expected.
enum class Thing { Fifo, Folder, DeviceLink, Socket, LinkToFile };

struct Place {
    fs::path path;
    std::unique_ptr<FifoGuard> fifo;
    int socket = -1;
    ~Place() {
        if (socket >= 0) ::close(socket);
    }
};

std::unique_ptr<Place> make(Thing t, const fs::path& at, const fs::path& target) {
    auto p = std::make_unique<Place>();
    p->path = at;
    switch (t) {
    case Thing::Fifo: p->fifo = std::make_unique<FifoGuard>(at); break;
    case Thing::Folder: fs::create_directories(at); break;
    case Thing::DeviceLink: fs::create_symlink("/dev/null", at); break;
    case Thing::Socket: {
        p->socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::snprintf(a.sun_path, sizeof a.sun_path, "%s", at.c_str());
        EXPECT_EQ(::bind(p->socket, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        break;
    }
    case Thing::LinkToFile: fs::create_symlink(target, at); break;
    }
    return p;
}

TEST(RegularFile, OnlyARegularFileIsReadAndNothingElseIsWaitedOn) {
    TempPrefix tp;
    fs::create_directories(tp.root());
    writeFile(tp.root() / "real", "content");
    for (Thing t : {Thing::Fifo, Thing::Folder, Thing::DeviceLink, Thing::Socket}) {
        auto place = make(t, tp.root() / ("thing" + std::to_string(int(t))), {});
        int error = 0;
        EXPECT_FALSE(readRegularFile(place->path, &error)) << int(t);
        EXPECT_EQ(error, kNotAFile) << int(t);
        if (place->fifo) { EXPECT_FALSE(place->fifo->released()) << "the open waited on the pipe"; }
    }
    // A link to a file is followed for reading; a limit cuts the content.
    auto link = make(Thing::LinkToFile, tp.root() / "link", tp.root() / "real");
    EXPECT_EQ(readRegularFile(link->path), "content");
    EXPECT_EQ(readRegularFile(tp.root() / "real", nullptr, 4), "cont");
    int error = 0;
    EXPECT_FALSE(readRegularFile(tp.root() / "missing", &error));
    EXPECT_EQ(error, ENOENT);
}

TEST(RegularFile, WritesNeverGoThroughALinkOrIntoAPipe) {
    TempPrefix tp;
    fs::create_directories(tp.root());
    const fs::path outside = tp.root() / "outside";
    writeFile(outside, "keep");
    for (Thing t : {Thing::Fifo, Thing::Folder, Thing::Socket, Thing::LinkToFile}) {
        auto place = make(t, tp.root() / ("thing" + std::to_string(int(t))), outside);
        for (auto c : {RegularFile::Creation::Existing, RegularFile::Creation::IfMissing}) {
            RegularFile f = RegularFile::openForWriting(place->path, c);
            EXPECT_FALSE(f) << int(t);
            EXPECT_EQ(f.error(), kNotAFile) << int(t);
        }
        // A pipe with a reader at its other end is refused as well.
        if (place->fifo) {
            const int reader = ::open(place->path.c_str(), O_RDONLY | O_NONBLOCK);
            EXPECT_EQ(RegularFile::openForWriting(place->path, RegularFile::Creation::Existing).error(), kNotAFile);
            ::close(reader);
            EXPECT_FALSE(place->fifo->released());
        }
    }
    EXPECT_EQ(readFile(outside), "keep");

    // A created file gets the mode asked for; Fresh refuses what is there.
    const fs::path made = tp.root() / "made";
    RegularFile f = RegularFile::openForWriting(made, RegularFile::Creation::Fresh, 0600);
    ASSERT_TRUE(f);
    EXPECT_TRUE(f.writeAt("abc", 0));
    EXPECT_TRUE(f.close());
    struct stat st {};
    ASSERT_EQ(::stat(made.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(RegularFile::openForWriting(made, RegularFile::Creation::Fresh).error(), EEXIST);
    EXPECT_EQ(RegularFile::openForWriting(tp.root() / "none", RegularFile::Creation::Existing).error(), ENOENT);
}

TEST(RegularFile, ReplacingPutsANewFileInPlaceOfALinkAndRefusesAPipe) {
    TempPrefix tp;
    fs::create_directories(tp.root() / "dir");
    const fs::path outside = tp.root() / "outside";
    writeFile(outside, "keep");
    const fs::path file = tp.root() / "dir" / "Autoload.TVK";
    fs::create_symlink(outside, file);
    ASSERT_EQ(replaceFile(file, "new", 0640), 0);
    EXPECT_FALSE(fs::is_symlink(file));
    EXPECT_EQ(readFile(file), "new");
    EXPECT_EQ(readFile(outside), "keep");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(replaceFile(file, "newer"), 0);
    EXPECT_EQ(readFile(file), "newer");

    FifoGuard fifo(tp.root() / "dir" / "pipe");
    EXPECT_EQ(replaceFile(fifo.path(), "x"), kNotAFile);
    EXPECT_EQ(replaceFile(tp.root() / "dir" / "nofolder" / "x", "x"), ENOENT);
    // Nothing but the file, the pipe and nothing else: no temporary left.
    int entries = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(tp.root() / "dir")) ++entries;
    EXPECT_EQ(entries, 2);
}

TEST(RegularFile, AFullDiskLeavesTheOldFileAndNoTemporary) {
    TempPrefix tp;
    const fs::path disk = tp.root() / "disk";
    std::optional<int> r = test::runOnSmallDisk(disk, 8192, [&] {
        writeFile(disk / "file", "old");
        const int e = replaceFile(disk / "file", std::string(20000, 'x'));
        if (e != ENOSPC) return 1;
        if (readFile(disk / "file") != "old") return 2;
        int entries = 0;
        for ([[maybe_unused]] auto& entry : fs::directory_iterator(disk)) ++entries;
        return entries == 1 ? 0 : 3;
    });
    if (!r) GTEST_SKIP() << "a small tmpfs needs root and mount namespaces";
    EXPECT_EQ(*r, 0) << "1: not ENOSPC, 2: old file changed, 3: temporary left";
}

TEST(RegularFile, ReasonsInWords) {
    EXPECT_EQ(fileErrorText("C:\\TARVOK\\ROUTE1.TVK", kNotAFile), "C:\\TARVOK\\ROUTE1.TVK is not a file");
    EXPECT_EQ(fileErrorText("C:\\X", kNotAFile, Language::Dutch), "C:\\X is geen bestand");
    EXPECT_EQ(fileErrorText("C:\\X", ENOSPC), "C:\\X: No space left on device");
}

}  // namespace
}  // namespace tarvok
