// A drive through a real pseudo-terminal over the demonstration maps with
// the recorded English sound set: the navigator speaks assembled
// announcements, and when the drive leaves the Delft map the next map of
// the database is loaded by itself.
#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "navigator/gps/announcement.h"
#include "navigator/gps/announcement_file.h"
#include "navigator/gps/navigation_loop.h"
#include "navigator/gps/position_display.h"
#include "navigator/gps/speech_window.h"
#include "navigator/map/map_database.h"
#include "navigator/map/map_window.h"
#include "navigator/navigator_windows.h"
#include "platform/sound_device.h"
#include "tests/navigator/gps/pty.h"
#include "tests/navigator/shell/window_fixture.h"
#include "tests/support/wait_for.h"

namespace tarvok::gps {
namespace {

namespace fs = std::filesystem;

// Drives through the map search take longer than a plain wait.
template <class F>
bool waitFor(F done, int milliseconds = 10000) {
    return test::waitFor(done, milliseconds);
}

void copyFolder(const fs::path& from, const fs::path& to) {
    fs::create_directories(to);
    for (const auto& e : fs::directory_iterator(from)) fs::copy_file(e.path(), to / e.path().filename());
}

TEST(MapSelectionDrive, LeavingTheMapLoadsTheNextOneAndTheFixesAreSpoken) {
    test::ShellWindow shell;
    const DosPaths paths = shell.prefix.paths();
    copyFolder(fs::path(TARVOK_SHARE_DIR) / "KAARTEN", paths.toNative("C:\\TARVOK\\KAARTEN"));
    copyFolder(fs::path(TARVOK_SHARE_DIR) / "SOUND", paths.toNative("C:\\TARVOK\\SOUND"));
    NavigatorSettings& s = shell.window->state().settings;
    s.autoMapSearch = '1';
    s.speakSpeed = s.speakCourse = s.speakPosition = s.speakWarnings = '1';
    s.speakUnit = s.speakDegreesWord = s.speakPositionWord = s.speakCompass = '1';

    // Wired as the navigator wires them.
    map::MapWindow map(mapWindowLinks(*shell.window), shell.window.get());
    PositionDisplay display(positionDisplayLinks(*shell.window), map);
    SpeechWindow speech(speechLinks(*shell.window));
    NavigationLoop loop(navigationLinks(*shell.window, speech), display);
    display.setMapSearch(&map);
    map.setPositionCalls(&display);
    shell.open();

    shell.dialogs.fileAnswers.push_back(paths.toNative("C:\\TARVOK\\KAARTEN\\DELFT.BMP").string());
    shell.clickAndSettle("Command2");
    ASSERT_EQ(map.calibration().mapPath, "C:\\TARVOK\\KAARTEN\\DELFT.BMP");
    shell.button("Command12")->click();
    ASSERT_EQ(shell.prefix.readDos("C:\\TARVOK\\Autoload.TVK").size(), 3 * map::kMapRecordSize);

    test::Pty pty;
    ASSERT_TRUE(pty.ok());
    fs::create_directories(shell.prefix.prefix() / "dosdevices");
    fs::create_symlink(pty.slaveName(), shell.prefix.prefix() / "dosdevices" / "com1");
    shell.button("Navig1")->click();
    ASSERT_TRUE(waitFor([&] { return loop.state() == NavigationLoop::State::Receiving; }));

    // The first fix is spoken at once from the recorded fragments.
    std::ifstream drive(fs::path(TARVOK_SHARE_DIR) / "KAARTEN" / "DEMORIT.NMEA", std::ios::binary);
    std::vector<std::string> fixes;
    for (std::string line; std::getline(drive, line);)
        if (line.rfind("$GNRMC", 0) == 0) fixes.push_back(line + "\n");
    ASSERT_GT(fixes.size(), 300u);
    ASSERT_GT(pty.tryWrite(fixes[0]), 0);
    ASSERT_TRUE(waitFor([&] { return loop.fixesShown() == 1; }));
    const fs::path sound = paths.toNative("C:\\TARVOK\\SOUND");
    std::string samples;
    for (const std::string& name : announcementFragments(speech.readouts(), speech.options()))
        samples += readFragmentFile(sound / (name + ".WAV"));
    ASSERT_GT(samples.size(), 10000u);
    EXPECT_EQ(shell.prefix.readDos("C:\\TARVOK\\SOUND\\Algem1.WAV"), announcementWav(samples));
    EXPECT_EQ(shell.device->opened().back(), "Algem1.WAV");
    EXPECT_EQ(shell.device->calls.back(), "play");
    const std::optional<WavSound> wav = readWavFile(sound / "Algem1.WAV");
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->sampleRate, 11025u);
    EXPECT_EQ(wav->bitsPerSample, 8);

    // On through the drive (every third second) until Delft is left behind;
    // each announcement reports its end, so the next fix speaks again.
    long sent = 1;
    for (std::size_t i = 3; i < fixes.size() && map.calibration().mapPath.find("DELFT") != std::string::npos; i += 3) {
        shell.device->notify(SoundDevice::Successful);
        ASSERT_GT(pty.tryWrite(fixes[i]), 0);
        ++sent;
        ASSERT_TRUE(waitFor([&] { return loop.fixesShown() == sent; }));
    }
    const std::string loaded = map.calibration().mapPath;
    ASSERT_EQ(loaded.find("DELFT"), std::string::npos) << "the drive never left the Delft map";
    // The map loaded is the first of the database that holds the position.
    const std::vector<map::MapRecord> records =
        map::decodeMapDatabase(shell.prefix.readDos("C:\\TARVOK\\Autoload.TVK"));
    const MotionDisplay shown = display.readouts();
    const map::MapSearch found =
        map::searchMapForPosition(records, shown.latid, shown.longi, shown.nsText, shown.ewText);
    ASSERT_EQ(found.outcome, map::MapSearchOutcome::Found);
    EXPECT_EQ(loaded, records[found.index].bitmapPath());
    EXPECT_EQ(map.bitmap().width(),
              records[found.index].cornerFilePath.find("REGIO") != std::string::npos ? 1000 : 820);
    EXPECT_EQ(display.positionPixel(), (map::PixelPosition{std::stoi(shell.box("Xtext")->text().toStdString()),
                                                           std::stoi(shell.box("Ytext")->text().toStdString())}));
    const std::vector<std::string> opened = shell.device->opened();
    EXPECT_GT(std::count(opened.begin(), opened.end(), "Algem1.WAV"), sent / 2);

    shell.button("Navig1")->click();
    ASSERT_TRUE(waitFor([&] { return loop.state() == NavigationLoop::State::Idle; }));
}

}  // namespace
}  // namespace tarvok::gps
