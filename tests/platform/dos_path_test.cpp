#include "platform/dos_path.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/support/temp_prefix.h"

namespace fs = std::filesystem;

namespace tarvok {
namespace {

using test::TempPrefix;
using test::writeFile;

TEST(DosPath, DrivesMapIntoThePrefixAndZToTheRoot) {
    DosPaths p("/tmp/pfx");
    EXPECT_EQ(p.toNative("C:\\WINDOWS\\VELKAR.DLL"), fs::path("/tmp/pfx/drive_c/WINDOWS/VELKAR.DLL"));
    EXPECT_EQ(p.toNative("d:\\TARVOK"), fs::path("/tmp/pfx/drive_d/TARVOK"));
    EXPECT_EQ(p.toNative("Z:\\etc\\hostname"), fs::path("/etc/hostname"));
    EXPECT_EQ(p.toNative("C:\\"), fs::path("/tmp/pfx/drive_c"));
    EXPECT_EQ(p.toNative("C:\\TARVOK\\..\\WINDOWS"), fs::path("/tmp/pfx/drive_c/WINDOWS"));
    EXPECT_EQ(p.toNative("C:\\..\\..\\etc"), fs::path("/tmp/pfx/drive_c/etc"));
}

TEST(DosPath, LookupIgnoresCaseAndTrailingBlanksAndDots) {
    TempPrefix tp;
    DosPaths p = tp.paths();
    fs::path sound = tp.prefix() / "drive_c" / "TARVOK" / "SOUND";
    fs::create_directories(sound);
    writeFile(sound / "April.WAV", "x");
    writeFile(sound / "navig1.wav", "y");
    EXPECT_EQ(p.toNative("C:\\TARVOK\\SOUND\\April.WAV "), sound / "April.WAV");
    EXPECT_EQ(p.toNative("C:\\tarvok\\Sound\\NAVIG1.WAV"), sound / "navig1.wav");
    EXPECT_EQ(p.toNative("c:\\Tarvok.\\sound\\april.wav.."), sound / "April.WAV");
    EXPECT_TRUE(p.exists("C:\\TARVOK\\SOUND\\APRIL.WAV "));
    EXPECT_FALSE(p.exists("C:\\TARVOK\\SOUND\\Mei.WAV"));
    // A missing name is kept as written (without trailing blanks) below the
    // part that exists, so it is also where a new file goes.
    EXPECT_EQ(p.toNative("C:\\TARVOK\\sound\\NEW\\Algem1.WAV "), sound / "NEW" / "Algem1.WAV");
}

TEST(DosPath, ExactNameWinsOverOtherCaseVariants) {
    TempPrefix tp;
    fs::path dir = tp.prefix() / "drive_c";
    fs::create_directories(dir);
    writeFile(dir / "map.bmp", "a");
    writeFile(dir / "MAP.BMP", "b");
    EXPECT_EQ(tp.paths().toNative("C:\\MAP.BMP"), dir / "MAP.BMP");
    EXPECT_EQ(tp.paths().toNative("C:\\map.bmp"), dir / "map.bmp");
}

TEST(DosPath, Windows1252NamesMeetUtf8FileNames) {
    TempPrefix tp;
    fs::path dir = tp.prefix() / "drive_c" / "KAARTEN";
    fs::create_directories(dir);
    writeFile(dir / "Belgi\xc3\xab.bmp", "x");
    EXPECT_EQ(tp.paths().toNative("C:\\KAARTEN\\BELGI\xeb.BMP"), dir / "Belgi\xc3\xab.bmp");
    EXPECT_EQ(tp.paths().toDos(dir / "Belgi\xc3\xab.bmp"), "C:\\KAARTEN\\Belgi\xeb.bmp");
}

TEST(DosPath, NativePathsGoBackToDosForm) {
    DosPaths p("/tmp/pfx");
    EXPECT_EQ(p.toDos("/tmp/pfx/drive_c/TARVOK/ROUTE1.TVK"), "C:\\TARVOK\\ROUTE1.TVK");
    EXPECT_EQ(p.toDos("/tmp/pfx/drive_d/maps/a.bmp"), "D:\\maps\\a.bmp");
    EXPECT_EQ(p.toDos("/tmp/pfx/drive_c"), "C:\\");
    EXPECT_EQ(p.toDos("/home/user/Maps/ams.bmp"), "Z:\\home\\user\\Maps\\ams.bmp");
    EXPECT_EQ(p.toDos("/tmp/pfx/drive_cx/a"), "Z:\\tmp\\pfx\\drive_cx\\a");
    EXPECT_EQ(p.toDos("/"), "Z:\\");
    // Z: round trip keeps the 36-character rules working on any chosen file.
    for (const char* native : {"/home/user/Maps/ams.bmp", "/tmp/pfx/drive_c/TARVOK/SOUND/Navig1.WAV"})
        EXPECT_EQ(p.toNative(p.toDos(native)), fs::path(native)) << native;
}

TEST(DosPath, DefaultPrefixFollowsTheEnvironment) {
    const char* saved = std::getenv("TARVOK_PREFIX");
    std::string keep = saved ? saved : "";
    ::setenv("TARVOK_PREFIX", "/x/y", 1);
    EXPECT_EQ(DosPaths::defaultPrefix(), fs::path("/x/y"));
    ::unsetenv("TARVOK_PREFIX");
    ::setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(DosPaths::defaultPrefix(), fs::path("/data/tarvok"));
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(DosPaths::defaultPrefix(), fs::path("/home/u/.local/share/tarvok"));
    if (saved) ::setenv("TARVOK_PREFIX", keep.c_str(), 1);
}

TEST(DosPath, FolderOfAPath) {
    EXPECT_EQ(dosFolderOf("C:\\MAPS\\A.BMP"), "C:\\MAPS\\");
    EXPECT_EQ(dosFolderOf("A.BMP"), "");
}

}  // namespace
}  // namespace tarvok
