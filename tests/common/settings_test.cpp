#include "common/settings.h"

#include <filesystem>
#include <functional>
#include <tuple>

#include <gtest/gtest.h>

#include "tests/support/full_disk.h"
#include "tests/support/temp_prefix.h"

namespace fs = std::filesystem;

namespace tarvok {
namespace {

using test::TempPrefix;

constexpr const char* kFileC = "C:\\WINDOWS\\VELKAR.DLL";
constexpr const char* kFileD = "D:\\WINDOWS\\VELKAR.DLL";

// The entries of the settings file's folder: the file alone once a save has
// ended, whether it succeeded or not.
int entriesBesideTheFile(const TempPrefix& tp) {
    int entries = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(tp.paths().toNative("C:\\WINDOWS"))) ++entries;
    return entries;
}

// Every byte of `after` is that of `before` but at `changed` (0-based), which holds `now`.
void expectOnlyByteChanged(const std::string& before, const std::string& after, std::size_t changed, char now) {
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(after[i], i == changed ? now : before[i]) << "position " << i + 1;
}

TEST(SettingsTemplate, EveryOptionHoldsAValidValue) {
    SettingsString t = SettingsString::settingsProgramTemplate();
    ASSERT_EQ(t.length(), kSettingsProgramLength);
    EXPECT_EQ(SettingsString::navigatorTemplate().length(), kNavigatorLength);
    EXPECT_EQ(SettingsString::navigatorTemplate().bytes(), t.bytes().substr(0, kNavigatorLength));
    for (auto [f, value] : {std::pair{field::Language, "1"},
                            {field::SpeedUnit, "1"},
                            {field::SoundOn, "1"},
                            {field::GpsPort, "1"},
                            {field::BaudRate, "4800 "},
                            {field::Parity, "1"},
                            {field::DataBits, "8"},
                            {field::HourOffset, "0 "},
                            {field::CorrectionX, "0    "}})
        EXPECT_EQ(t.read(f), value) << "position " << f.pos;
    for (char c : t.bytes()) EXPECT_TRUE(c == ' ' || (c >= '0' && c <= '9')) << int(c);
    NavigatorSettings n = decodeForNavigator(t);
    EXPECT_EQ(n.baudRate, "4800");
    EXPECT_EQ(n.crossSize, 10);
}

TEST(SettingsTemplate, KeepsItsBytes) {
    // Files written from the template by earlier versions must stay what a
    // new version writes.
    const std::string expected =
        "000011000100001000000100000000115000 10100000000001000000004800 0100811111511110    0    "
        "11110050500000000000000000000000000000000000000000000000";
    EXPECT_EQ(SettingsString::settingsProgramTemplate().bytes(), expected);
    EXPECT_EQ(SettingsString::navigatorTemplate().bytes(), expected.substr(0, kNavigatorLength));
}

// Every one-character field reaches its own copy in both programs: a
// distinct letter in each field comes back in the copy of that name.
TEST(SettingsDecode, EveryFieldReachesItsOwnCopy) {
    struct Row {
        field::Field f;
        char NavigatorSettings::*navigator;  // null: the navigator keeps no copy
        std::string SettingsProgramOptions::*settingsProgram;
    };
    using N = NavigatorSettings;
    using S = SettingsProgramOptions;
    const Row rows[] = {
        {field::Language, &N::language, &S::language},
        {field::AutoMapSearch, &N::autoMapSearch, &S::autoMapSearch},
        {field::SpeedUnit, &N::speedUnit, &S::speedUnit},
        {field::MapDatum, &N::mapDatum, &S::mapDatum},
        {field::CloseWindows, nullptr, &S::closeWindows},
        {field::PanelSide, &N::panelSide, &S::panelSide},
        {field::KeyboardSize, nullptr, &S::keyboardSize},
        {field::MenuStyle, nullptr, &S::menuStyle},
        {field::ColourScheme, &N::colourScheme, &S::colourScheme},
        {field::RecordRoute, &N::recordRoute, &S::recordRoute},
        {field::GpsPort, &N::gpsPort, &S::gpsPort},
        {field::RouteSource, &N::routeSource, &S::routeSource},
        {field::Parity, &N::parity, &S::parity},
        {field::DataBits, &N::dataBits, &S::dataBits},
        {field::SoundOn, &N::soundOn, &S::soundOn},
        {field::SpeakSpeed, &N::speakSpeed, &S::speakSpeed},
        {field::SpeakCourse, &N::speakCourse, &S::speakCourse},
        {field::SpeakPosition, &N::speakPosition, &S::speakPosition},
        {field::SpeakWarnings, &N::speakWarnings, &S::speakWarnings},
        {field::SpeakUnit, &N::speakUnit, &S::speakUnit},
        {field::SpeakDegreesWord, &N::speakDegreesWord, &S::speakDegreesWord},
        {field::SpeakPositionWord, &N::speakPositionWord, &S::speakPositionWord},
        {field::SpeakCompass, &N::speakCompass, &S::speakCompass},
        {field::MapProduct, nullptr, &S::mapProduct},
        {field::WhereAmI, &N::whereAmI, &S::whereAmI},
        {field::NearestDirection, &N::nearestDirection, &S::nearestDirection},
        {field::NearestDistance, &N::nearestDistance, &S::nearestDistance},
        {field::ShowXY, &N::showXY, &S::showXY},
    };
    SettingsString s = SettingsString::settingsProgramTemplate();
    auto letter = [](const field::Field& f) { return char('A' + f.pos % 26); };
    for (const Row& r : rows) s.writeChar(r.f, letter(r.f));
    const NavigatorSettings n = decodeForNavigator(s);
    const SettingsProgramOptions o = decodeForSettingsProgram(s);
    for (const Row& r : rows) {
        if (r.navigator) { EXPECT_EQ(n.*r.navigator, letter(r.f)) << "position " << r.f.pos; }
        EXPECT_EQ(o.*r.settingsProgram, std::string(1, letter(r.f))) << "position " << r.f.pos;
    }
}

// Writing a value in a field's own format, as the settings program's
// controls do.
TEST(SettingsString, WritesValuesInTheFieldsFormat) {
    struct Row {
        field::Field f;
        long long value;
        const char* stored;
    };
    const Row rows[] = {
        {field::SpeedUnit, 3, "3"},          {field::PlaybackSpeed, 7, "7"},     {field::CrossSize, 7, "07"},
        {field::ReportInterval, 15, "15"},   {field::HourOffset, 5, "5 "},       {field::HourOffset, 12, "12"},
        {field::BaudRate, 300, "300  "},     {field::BaudRate, 19200, "19200"},  {field::CorrectionX, -15, "-15  "},
        {field::CorrectionY, -200, "-200 "}, {field::PlaceNameCount, 123, "12"},
    };
    for (const Row& r : rows) {
        SettingsString s = SettingsString::settingsProgramTemplate();
        const std::string before = s.bytes();
        s.writeNumber(r.f, r.value);
        EXPECT_EQ(s.read(r.f), r.stored) << "position " << r.f.pos << " value " << r.value;
        EXPECT_EQ(s.bytes().substr(0, r.f.pos - 1), before.substr(0, r.f.pos - 1));
        EXPECT_EQ(s.bytes().substr(r.f.pos - 1 + r.f.width), before.substr(r.f.pos - 1 + r.f.width));
    }
}

TEST(SettingsString, WritesChangeOnlyTheFieldsOwnCharacters) {
    SettingsString s = SettingsString::settingsProgramTemplate();
    const std::string before = s.bytes();
    s.writeChar(field::SpeedUnit, '3');
    expectOnlyByteChanged(before, s.bytes(), 9, '3');

    struct Row {
        std::function<void(SettingsString&)> write;
        field::Field f;
        const char* stored;
    } rows[] = {
        {[](SettingsString& t) { t.writeLeftAligned(field::BaudRate, "4800"); }, field::BaudRate, "4800 "},
        {[](SettingsString& t) { t.writeLeftAligned(field::BaudRate, "300"); }, field::BaudRate, "300  "},
        {[](SettingsString& t) { t.writeLeftAligned(field::BaudRate, "1234567"); }, field::BaudRate, "12345"},  // cut
        {[](SettingsString& t) { t.writeHourOffset(5); }, field::HourOffset, "5 "},
        {[](SettingsString& t) { t.writeHourOffset(12); }, field::HourOffset, "12"},
        {[](SettingsString& t) { t.writeTwoDigits(field::ReportInterval, 7); }, field::ReportInterval, "07"},
        {[](SettingsString& t) { t.writeLeftAligned(field::CorrectionX, "-15"); }, field::CorrectionX, "-15  "},
    };
    for (const Row& r : rows) {
        SettingsString t = SettingsString::settingsProgramTemplate();
        r.write(t);
        EXPECT_EQ(t.read(r.f), r.stored) << "position " << r.f.pos;
        EXPECT_EQ(t.bytes().substr(0, r.f.pos - 1), before.substr(0, r.f.pos - 1)) << "position " << r.f.pos;
        EXPECT_EQ(t.bytes().substr(r.f.pos - 1 + r.f.width), before.substr(r.f.pos - 1 + r.f.width));
    }
}

TEST(SettingsString, ReadsAndWritesPastTheEndDoNothing) {
    SettingsString s(std::string(10, 'x'));
    EXPECT_EQ(s.read(9, 5), "xx");
    EXPECT_EQ(s.read(11, 1), "");
    EXPECT_EQ(s.read(0, 1), "");
    s.writeRaw(9, 5, "abcde");
    EXPECT_EQ(s.bytes(), "xxxxxxxxab");
}

TEST(SettingsDecode, NavigatorCopies) {
    SettingsString s = SettingsString::settingsProgramTemplate();
    s.writeLeftAligned(field::CorrectionX, "-15");
    s.writeLeftAligned(field::CorrectionY, "35");
    s.writeHourOffset(5);
    s.writeLeftAligned(field::BaudRate, "300");
    s.writeTwoDigits(field::CrossSize, 7);
    s.writeChar(field::PlaybackSpeed, '9');
    s.writeChar(field::Language, '0');
    NavigatorSettings n = decodeForNavigator(s);
    EXPECT_EQ(
        std::tie(n.correctionX, n.correctionY, n.hourOffset, n.baudRate, n.crossSize, n.playbackSpeed, n.language),
        std::make_tuple(-30, 70, "5 ", "300", 7, 9, '0'));
}

TEST(SettingsDecode, UnexpectedCharactersGiveZeroOrAnUnlistedCode) {
    SettingsString s(std::string(kSettingsProgramLength, '#'));
    NavigatorSettings n = decodeForNavigator(s);
    EXPECT_EQ(std::tie(n.correctionX, n.crossSize, n.playbackSpeed, n.speedUnit), std::make_tuple(0, 0, 0, '#'));
    SettingsProgramOptions o = decodeForSettingsProgram(s);
    EXPECT_EQ(std::tie(o.hourOffset, o.correctionY, o.speedUnit), std::make_tuple(0, 0, "#"));
    // A string too short for its fields decodes without reading past its end.
    NavigatorSettings t = decodeForNavigator(SettingsString(std::string(8, '1')));
    EXPECT_EQ(std::tie(t.language, t.baudRate, t.correctionX), std::make_tuple('1', "", 0));
}

TEST(SettingsDecode, SettingsProgramBaudKeepsOnlyTheCharactersBeforeTrailingBlanks) {
    SettingsString s = SettingsString::settingsProgramTemplate();
    for (const char* baud : {"300", "4800", "19200"}) {
        s.writeLeftAligned(field::BaudRate, baud);
        EXPECT_EQ(decodeForSettingsProgram(s).baudRate, baud);
    }
    s.writeHourOffset(12);
    s.writeLeftAligned(field::CorrectionX, "-15");
    s.writeTwoDigits(field::PlaceNameCount, 7);
    SettingsProgramOptions o = decodeForSettingsProgram(s);
    EXPECT_EQ(std::tie(o.hourOffsetText, o.hourOffset, o.correctionX, o.placeNameCount),
              std::make_tuple("12", 12, -15, 7));
}

TEST(SettingsFile, LocatesCBeforeDAndNeitherWhenBothMissing) {
    TempPrefix tp;
    DosPaths paths = tp.paths();
    EXPECT_FALSE(locateSettingsFile(paths).has_value());
    tp.writeDos(kFileD, std::string(145, '1'));
    EXPECT_EQ(locateSettingsFile(paths), 'D');
    tp.writeDos(kFileC, std::string(145, '1'));
    EXPECT_EQ(locateSettingsFile(paths), 'C');
    // A folder of that name is not a settings file.
    TempPrefix other;
    fs::create_directories(other.paths().toNative(kFileC));
    EXPECT_FALSE(locateSettingsFile(other.paths()).has_value());
}

TEST(SettingsFile, FileOnDOnlyIsReadAndWrittenBackOnD) {
    TempPrefix tp;
    DosPaths paths = tp.paths();
    std::string file = SettingsString::settingsProgramTemplate().bytes();
    file[9] = '2';
    tp.writeDos(kFileD, file);
    char drive = *locateSettingsFile(paths);
    SettingsString s = SettingsString::settingsProgramTemplate();
    ASSERT_EQ(loadSettings(paths, drive, s), LoadResult::Loaded);
    EXPECT_EQ(s.read(field::SpeedUnit), "2");
    s.writeChar(field::SpeedUnit, '3');
    ASSERT_TRUE(saveSettings(paths, drive, s).ok);
    EXPECT_FALSE(fs::exists(paths.toNative(kFileC)));
    expectOnlyByteChanged(file, tp.readDos(kFileD), 9, '3');
}

TEST(SettingsFile, NavigatorReadsOnlyTheFirst121BytesOfA145ByteFile) {
    TempPrefix tp;
    std::string file(145, '0');
    for (std::size_t i = 121; i < 145; ++i) file[i] = 'X';
    tp.writeDos(kFileC, file);
    SettingsString s = SettingsString::navigatorTemplate();
    ASSERT_EQ(loadSettings(tp.paths(), 'C', s), LoadResult::Loaded);
    EXPECT_EQ(s.length(), 121u);
    EXPECT_EQ(s.bytes(), std::string(121, '0'));
}

TEST(SettingsFile, ShortFileKeepsTheTemplateBeyondItsEnd) {
    TempPrefix tp;
    tp.writeDos(kFileC, std::string(12, '2'));
    SettingsString s = SettingsString::settingsProgramTemplate();
    const std::string tmpl = s.bytes();
    ASSERT_EQ(loadSettings(tp.paths(), 'C', s), LoadResult::Loaded);
    EXPECT_EQ(s.bytes().substr(0, 12), std::string(12, '2'));
    EXPECT_EQ(s.bytes().substr(12), tmpl.substr(12));
    EXPECT_EQ(s.length(), 145u);
    // An empty file changes nothing.
    tp.writeDos(kFileC, "");
    SettingsString e = SettingsString::settingsProgramTemplate();
    ASSERT_EQ(loadSettings(tp.paths(), 'C', e), LoadResult::Loaded);
    EXPECT_EQ(e.bytes(), tmpl);
}

TEST(SettingsFile, MissingFileLeavesTheStringAndFirstSaveCreatesCOf145Bytes) {
    TempPrefix tp;
    SettingsString s = SettingsString::settingsProgramTemplate();
    EXPECT_EQ(loadSettings(tp.paths(), 'C', s), LoadResult::Missing);
    EXPECT_EQ(s.bytes(), SettingsString::settingsProgramTemplate().bytes());
    SaveResult r = saveSettings(tp.paths(), 'C', s);
    ASSERT_TRUE(r.ok) << r.error;
    std::string back = tp.readDos(kFileC);
    EXPECT_EQ(back, s.bytes());
    EXPECT_EQ(back.size(), 145u);
    EXPECT_EQ(entriesBesideTheFile(tp), 1);  // no temporary file is left behind
}

TEST(SettingsFile, SaveKeepsBytesPastTheStringOfALongerFile) {
    TempPrefix tp;
    std::string file(200, '7');
    tp.writeDos(kFileC, file);
    SettingsString s = SettingsString::settingsProgramTemplate();
    ASSERT_TRUE(saveSettings(tp.paths(), 'C', s).ok);
    std::string back = tp.readDos(kFileC);
    EXPECT_EQ(back.size(), 200u);
    EXPECT_EQ(back.substr(0, 145), s.bytes());
    EXPECT_EQ(back.substr(145), std::string(55, '7'));
}

TEST(SettingsFile, ALinkAtTheSettingsFileIsReplacedNotWrittenThrough) {
    TempPrefix tp;
    const fs::path file = tp.paths().toNative(kFileC);
    fs::create_directories(file.parent_path());
    const fs::path outside = tp.root() / "outside";
    test::writeFile(outside, std::string(145, '4'));
    fs::create_symlink(outside, file);
    SettingsString s = SettingsString::settingsProgramTemplate();
    ASSERT_TRUE(saveSettings(tp.paths(), 'C', s).ok);
    EXPECT_FALSE(fs::is_symlink(file));
    EXPECT_EQ(tp.readDos(kFileC), s.bytes());
    EXPECT_EQ(test::readFile(outside), std::string(145, '4'));
}

TEST(SettingsFile, FailedSaveIsReportedAndTheOldFileSurvives) {
    // A stale temporary of a fixed name is no obstacle: every save writes a
    // fresh file under a name of its own.
    TempPrefix tp;
    tp.writeDos(kFileC, std::string(145, '4'));
    fs::path file = tp.paths().toNative(kFileC);
    fs::create_directories(fs::path(file.string() + ".tmp") / "blocker");
    ASSERT_TRUE(saveSettings(tp.paths(), 'C', SettingsString::settingsProgramTemplate()).ok);
    // The file cannot be replaced: a folder stands in its place.
    TempPrefix other;
    fs::create_directories(other.paths().toNative(kFileC) / "blocker");
    SaveResult r = saveSettings(other.paths(), 'C', SettingsString::settingsProgramTemplate());
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("VELKAR.DLL: it is not a file"), std::string::npos) << r.error;
    EXPECT_TRUE(fs::is_directory(other.paths().toNative(kFileC) / "blocker"));
}

TEST(SettingsFile, FullDiskIsReportedAndTheOldFileSurvives) {
    TempPrefix tp;
    tp.writeDos(kFileC, std::string(145, '4'));
    SaveResult r;
    {
        test::FullDisk full;
        r = saveSettings(tp.paths(), 'C', SettingsString::settingsProgramTemplate());
    }
    EXPECT_FALSE(r.ok) << "reported success";
    EXPECT_FALSE(r.error.empty()) << "no message";
    EXPECT_EQ(tp.readDos(kFileC), std::string(145, '4'));
    EXPECT_EQ(entriesBesideTheFile(tp), 1);  // no temporary file is left behind
}

}  // namespace
}  // namespace tarvok
