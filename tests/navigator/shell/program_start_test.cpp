#include "navigator/shell/program_start.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/dialogs.h"
#include "tests/support/fifo_guard.h"

#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_prefix.h"

namespace tarvok {
namespace {

using test::RecordingDialogs;
using test::TempPrefix;

TEST(ProgramStart, NoSettingsFileShowsTheEnglishBoxAndStartsNothing) {
    TempPrefix tp;
    RecordingDialogs dialogs;
    EXPECT_FALSE(startNavigator(tp.paths(), dialogs).has_value());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0],
              "TARVOK\r\n\r\nNeeded files NOT found!\r\n\r\nYou have probably not installed      \r\n"
              "the software correctly\r\nPlease re-install the software.");
}

TEST(ProgramStart, AnEmptyPrefixFolderStartsAndOneWithADriveButNoSettingsIsTold) {
    for (bool withDrive : {false, true}) {
        TempPrefix tp;
        std::filesystem::create_directories(withDrive ? tp.prefix() / "drive_d" : tp.prefix());
        RecordingDialogs dialogs;
        EXPECT_EQ(prepareNavigator(tp.paths(), dialogs).has_value(), !withDrive);
        EXPECT_EQ(dialogs.messages, withDrive ? std::vector<std::string>{joinMessageLines(neededFilesNotFoundLines())}
                                              : std::vector<std::string>{});
    }
}

TEST(ProgramStart, SettingsOnDDecideTheProgramDriveAndAreDecoded) {
    TempPrefix tp;
    SettingsString s = SettingsString::settingsProgramTemplate();
    s.writeChar(field::Language, '0');
    s.writeLeftAligned(field::CorrectionX, "-15");
    tp.writeDos("D:\\WINDOWS\\VELKAR.DLL", s.bytes());
    RecordingDialogs dialogs;
    auto start = startNavigator(tp.paths(), dialogs);
    ASSERT_TRUE(start.has_value());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(start->programDrive, 'D');
    EXPECT_EQ(programFolderOn(start->programDrive), "D:\\TARVOK");
    EXPECT_EQ(start->settings.language, '0');
    EXPECT_EQ(start->settings.correctionX, -30);
    EXPECT_EQ(start->settingsString.length(), 121u);
}

TEST(ProgramStart, ASettingsFileThatCannotBeReadIsToldAndStartsNothing) {
    TempPrefix tp;
    // A pipe in its place: refused at once.
    const auto file = tp.paths().toNative("C:\\WINDOWS\\VELKAR.DLL");
    std::filesystem::create_directories(file.parent_path());
    {
        test::FifoGuard pipe(file);
        RecordingDialogs dialogs;
        EXPECT_FALSE(startNavigator(tp.paths(), dialogs).has_value());
        EXPECT_FALSE(pipe.released()) << "the start waited on the pipe";
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0],
                  joinMessageLines(settingsUnreadableLines("C:\\WINDOWS\\VELKAR.DLL is not a file")));
    }
    // A file without read permission, read by a process without the rights.
    if (::geteuid() != 0) GTEST_SKIP() << "reading as another user needs root";
    std::filesystem::remove(file);
    test::writeFile(file, std::string(145, '1'));
    ::chmod(file.c_str(), 0);
    for (auto p = file.parent_path(); p != tp.root().parent_path(); p = p.parent_path()) ::chmod(p.c_str(), 0755);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);  // nobody
        RecordingDialogs dialogs;
        const bool started = startNavigator(tp.paths(), dialogs).has_value();
        ::_exit(started ? 1
                : dialogs.messages.size() == 1 &&
                        dialogs.messages[0] ==
                            joinMessageLines(settingsUnreadableLines("C:\\WINDOWS\\VELKAR.DLL: Permission denied"))
                    ? 0
                    : 2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: started on settings never read, 2: wrong message, 3: no setuid";
}

}  // namespace
}  // namespace tarvok
