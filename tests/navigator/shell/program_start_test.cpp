#include "navigator/shell/program_start.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(start->programFolder(), "D:\\TARVOK");
    EXPECT_EQ(start->settings.language, '0');
    EXPECT_EQ(start->settings.correctionX, -30);
    EXPECT_EQ(start->settingsString.length(), 121u);
}

}  // namespace
}  // namespace tarvok
