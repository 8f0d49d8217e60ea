#include "platform/provision.h"

#include <gtest/gtest.h>

#include "common/settings.h"
#include "tests/support/small_disk.h"
#include "tests/support/temp_prefix.h"

namespace fs = std::filesystem;

namespace tarvok {
namespace {

using test::readFile;
using test::TempPrefix;
using test::writeFile;

TEST(Provision, MissingPrefixGetsSettingsAndEveryInstalledFileWritable) {
    TempPrefix tp;
    fs::path data = tp.root() / "share";
    fs::create_directories(data / "SOUND");
    fs::create_directories(data / "GELUID");
    writeFile(data / "SOUND" / "Navig1.WAV", "en");
    writeFile(data / "GELUID" / "Navig1.WAV", "nl");
    writeFile(data / "USERNav4.HTM", "<html>");
    fs::permissions(data / "SOUND" / "Navig1.WAV", fs::perms::owner_read);  // as installed read-only
    fs::permissions(data / "SOUND", fs::perms::owner_read | fs::perms::owner_exec);

    std::string tmpl = SettingsString::settingsProgramTemplate().bytes();
    ProvisionResult r = provisionPrefix(tp.prefix(), data, tmpl);
    fs::permissions(data / "SOUND", fs::perms::owner_all);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.created);
    EXPECT_EQ(readFile(tp.paths().toNative("C:\\WINDOWS\\VELKAR.DLL")), tmpl);
    EXPECT_EQ(readFile(tp.paths().toNative("C:\\TARVOK\\SOUND\\Navig1.WAV")), "en");
    EXPECT_EQ(readFile(tp.paths().toNative("C:\\TARVOK\\GELUID\\Navig1.WAV")), "nl");
    EXPECT_EQ(readFile(tp.paths().toNative("C:\\TARVOK\\USERNav4.HTM")), "<html>");
    EXPECT_TRUE(fs::is_directory(tp.prefix() / "drive_d"));
    auto perms = fs::status(tp.paths().toNative("C:\\TARVOK\\SOUND")).permissions();
    EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none);
    perms = fs::status(tp.paths().toNative("C:\\TARVOK\\SOUND\\Navig1.WAV")).permissions();
    EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none);
    // Nothing of the staging folder is left beside the prefix.
    int entries = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(tp.root())) ++entries;
    EXPECT_EQ(entries, 2);  // prefix and share
}

TEST(Provision, ExistingPrefixIsLeftAloneEvenWithoutSettings) {
    TempPrefix tp;
    fs::create_directories(tp.prefix() / "drive_c");
    ProvisionResult r = provisionPrefix(tp.prefix(), tp.root() / "none", "x");
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.created);
    EXPECT_FALSE(fs::exists(tp.prefix() / "drive_c" / "WINDOWS"));
}

TEST(Provision, AFolderWithoutDrivesIsFilledAndOneWithADriveIsNot) {
    const struct {
        const char* what;
        std::vector<const char*> folders, files;  // what the prefix holds beforehand
        bool filled;
    } rows[] = {
        {"empty", {}, {}, true},
        {"the user's own files and port links", {"dosdevices"}, {"notes.txt"}, true},
        {"drive_d only", {"drive_d"}, {}, false},
        {"drive_c without settings", {"drive_c/TARVOK"}, {}, false},
    };
    for (const auto& row : rows) {
        TempPrefix tp;
        fs::create_directories(tp.prefix());
        for (const char* f : row.folders) fs::create_directories(tp.prefix() / f);
        for (const char* f : row.files) writeFile(tp.prefix() / f, "mine");
        fs::create_directories(tp.root() / "share" / "SOUND");
        writeFile(tp.root() / "share" / "SOUND" / "Navig1.WAV", "en");
        ProvisionResult r = provisionPrefix(tp.prefix(), tp.root() / "share", "abc");
        EXPECT_TRUE(r.ok) << row.what << ": " << r.error;
        EXPECT_EQ(r.created, row.filled) << row.what;
        EXPECT_EQ(readFile(tp.paths().toNative("C:\\WINDOWS\\VELKAR.DLL")), row.filled ? "abc" : "") << row.what;
        EXPECT_EQ(readFile(tp.paths().toNative("C:\\TARVOK\\SOUND\\Navig1.WAV")), row.filled ? "en" : "") << row.what;
        for (const char* f : row.files) EXPECT_EQ(readFile(tp.prefix() / f), "mine") << row.what;
        // Nothing of the staging folder is left, inside or beside.
        for (const auto& e : fs::directory_iterator(tp.prefix()))
            EXPECT_EQ(e.path().filename().string().rfind(".new-", 0), std::string::npos) << row.what;
    }
}

TEST(Provision, WithoutDataFolderOnlyTheSettingsAreMade) {
    TempPrefix tp;
    ProvisionResult r = provisionPrefix(tp.prefix(), tp.root() / "none", "abc");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(readFile(tp.prefix() / "drive_c" / "WINDOWS" / "VELKAR.DLL"), "abc");
    EXPECT_TRUE(fs::is_directory(tp.prefix() / "drive_c" / "TARVOK"));
}

TEST(Provision, APrefixThatCannotBeMadeIsReported) {
    TempPrefix tp;
    writeFile(tp.root() / "file", "x");  // a file where a folder must go
    ProvisionResult r = provisionPrefix(tp.root() / "file" / "prefix", {}, "abc");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
}

TEST(Provision, AFullDiskIsToldAsSuchAndLeavesNothingBehind) {
    TempPrefix tp;
    const fs::path data = tp.root() / "share";
    fs::create_directories(data / "SOUND");
    writeFile(data / "SOUND" / "Welkom5.WAV", std::string(64 * 1024, 'w'));
    const fs::path disk = tp.root() / "disk";
    std::optional<int> r = test::runOnSmallDisk(disk, 16 * 1024, [&] {
        ProvisionResult made = provisionPrefix(disk / "prefix", data, "settings");
        if (made.ok) return 1;
        if (made.error.find("No space left on device") == std::string::npos) return 2;
        return fs::is_empty(disk) ? 0 : 3;
    });
    if (!r) GTEST_SKIP() << "a small tmpfs needs root and mount namespaces";
    EXPECT_EQ(*r, 0) << "1: reported success, 2: not told the disk is full, 3: left a staging folder";
}

}  // namespace
}  // namespace tarvok
