// The announcements through the real main window: fragments read from the
// sound folder of a temporary prefix, "Algem1.WAV" written there and handed
// to the (scripted) sound device.
#include "navigator/gps/speech_window.h"
#include "navigator/navigator_windows.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/navigator/shell/window_fixture.h"
#include "tests/support/fifo_guard.h"

namespace tarvok::gps {
namespace {

using test::ShellWindow;

const std::vector<std::string> kDelft = {"41", "kmh", "Koers", "84", "Graden", "O",      "Positie", "52", "Komma",
                                         "0",  "6",   "8",     "6",  "6",      "Graden", "N",       "4",  "Komma",
                                         "8",  "8",   "3",     "3",  "0",      "Graden", "O"};

// A recorded fragment file: 79 bytes before the samples, 71 after them.
std::string fragmentWav(const std::string& samples) { return std::string(79, 'h') + samples + std::string(71, 't'); }
// Each fragment's samples are its own name in brackets, so the joined
// announcement shows which fragments went in, in which order.
std::string samplesOf(const std::string& name) { return "[" + name + "]"; }

struct SpeechWindowTest : ::testing::Test {
    ShellWindow shell;
    std::unique_ptr<SpeechWindow> speech;
    const std::string folder = "C:\\TARVOK\\SOUND\\";

    void SetUp() override {
        for (const std::string& name : kDelft) writeFragment(name);
        writeFragment("mph");
        NavigatorSettings& s = shell.window->state().settings;
        s.speakSpeed = s.speakCourse = s.speakPosition = s.speakWarnings = '1';
        s.speakUnit = s.speakDegreesWord = s.speakPositionWord = s.speakCompass = '1';
        speech = std::make_unique<SpeechWindow>(speechLinks(*shell.window), shell.window.get());
        shell.open();
        show("52,06866", "4,883300", "N", "E", "041", "084", " O");
        shell.window->sound().setCompletionCode(1);
    }
    void writeFragment(const std::string& name) {
        shell.prefix.writeDos(folder + name + ".WAV", fragmentWav(samplesOf(name)));
    }
    void show(const char* lat, const char* lon, const char* ns, const char* ew, const char* speed, const char* koers,
              const char* windr) {
        for (auto [box, text] :
             {std::pair{"Latid", lat}, std::pair{"Longi", lon}, std::pair{"NSText", ns}, std::pair{"EWText", ew},
              std::pair{"Speed", speed}, std::pair{"Koers", koers}, std::pair{"Windr", windr}})
            shell.box(box)->setText(QString::fromLatin1(text));
    }
    std::string written() { return shell.prefix.readDos(folder + "Algem1.WAV"); }
    int announcementsStarted() {
        int n = 0;
        for (const std::string& f : shell.device->opened()) n += f == "Algem1.WAV";
        return n;
    }
};

TEST_F(SpeechWindowTest, TheReadoutsAreSpokenFromTheSoundFolderAndPlayedWithoutWaiting) {
    // A missing and a short fragment file count as empty fragments.
    std::filesystem::remove(shell.prefix.paths().toNative(folder + "3.WAV"));
    shell.prefix.writeDos(folder + "Positie.WAV", std::string(150, 'x'));
    speech->loadSpeechFragments();

    speech->speakStatus();
    std::string expected;
    for (const std::string& name : kDelft)
        if (name != "3" && name != "Positie") expected += samplesOf(name);
    const std::string wav = written();
    ASSERT_EQ(wav.size(), 44 + expected.size());
    const std::uint32_t n = std::uint32_t(expected.size());
    std::string header = "RIFF";
    for (std::uint32_t v : {36 + n}) header.append(reinterpret_cast<const char*>(&v), 4);
    header += std::string("WAVEfmt \x10\0\0\0\x01\0\x01\0\x11\x2b\0\0\x11\x2b\0\0\x01\0\x08\0data", 32);
    header.append(reinterpret_cast<const char*>(&n), 4);
    EXPECT_EQ(wav.substr(0, 44), header);
    EXPECT_EQ(wav.substr(44), expected);
    // Started, not waited for: the completion notice is still to come.
    EXPECT_EQ(shell.device->opened().back(), "Algem1.WAV");
    EXPECT_EQ(shell.device->calls.back(), "play");
    EXPECT_EQ(shell.window->sound().completionCode(), 0);

    // A shorter announcement replaces the file whole.
    show("52,06866", "4,883300", "N", "E", "000", "084", " O");
    writeFragment("Stilstan");
    shell.window->sound().setCompletionCode(1);
    speech->speakStatus();
    std::string still;
    for (const char* name : {"Stilstan", "52", "Komma", "0", "6", "8", "6", "6", "Graden", "N", "4", "Komma", "8", "8",
                             "0", "Graden", "O"})
        still += samplesOf(name);
    EXPECT_EQ(written(), announcementWav(still));
}

TEST_F(SpeechWindowTest, WithoutCompletionNoticeEveryTwentiethSentenceIsSpoken) {
    shell.device->abortOnClose = true;
    speech->speakStatus();
    ASSERT_EQ(announcementsStarted(), 1);
    for (int i = 1; i < 20; ++i) {
        speech->speakStatus();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(announcementsStarted(), 1);
    speech->speakStatus();
    EXPECT_EQ(announcementsStarted(), 2);
    // The announcement cut off by the new one reports itself aborted; that
    // notice is not the end of the new one.
    QCoreApplication::processEvents();
    EXPECT_EQ(shell.window->sound().completionCode(), 0);
    speech->speakStatus();
    EXPECT_EQ(announcementsStarted(), 2);
    // Its own notice lets the next sentence speak at once.
    shell.device->notify(SoundDevice::Successful);
    speech->speakStatus();
    EXPECT_EQ(announcementsStarted(), 3);
}

TEST_F(SpeechWindowTest, NoFixPlaysTheReceptionErrorAndSoundOffSpeaksNothing) {
    show("0", "4,883300", "N", "E", "041", "084", " O");
    QTimer::singleShot(0, [this] { shell.device->notify(SoundDevice::Successful); });
    speech->speakStatus();
    EXPECT_EQ(shell.device->opened().back(), "RXfout1.WAV");
    EXPECT_EQ(announcementsStarted(), 0);
    EXPECT_EQ(shell.window->sound().completionCode(), 1);

    show("52,06866", "4,883300", "N", "E", "041", "084", " O");
    shell.window->state().settings.soundOn = '0';
    const auto calls = shell.device->calls.size();
    speech->speakStatus();
    EXPECT_EQ(shell.device->calls.size(), calls);
    EXPECT_EQ(written(), "");
}

TEST_F(SpeechWindowTest, TheUnitKeyReloadsTheSpokenUnit) {
    shell.keyInto("Latid", 'M');  // through the window's key handling
    show("52,06866", "4,883300", "N", "E", "041", "084", " O");
    speech->speakStatus();
    EXPECT_EQ(written().substr(44, 9), samplesOf("41") + samplesOf("mph"));
}

TEST_F(SpeechWindowTest, PipesNamedLikeFragmentsAreEmptyFragmentsAtOnce) {
    const auto native = [&](const char* name) { return shell.prefix.paths().toNative(folder + name); };
    for (const char* name : {"41.WAV", "Koers.WAV"}) std::filesystem::remove(native(name));
    test::FifoGuard spoken(native("41.WAV")), preloaded(native("Koers.WAV"));
    speech->loadSpeechFragments();
    speech->speakStatus();
    EXPECT_FALSE(spoken.released() || preloaded.released()) << "the announcement waited on a pipe";
    EXPECT_EQ(written().substr(44, 9), samplesOf("kmh") + samplesOf("84"));
    EXPECT_EQ(announcementsStarted(), 1);
}

TEST_F(SpeechWindowTest, AnUnwritableAnnouncementFileIsReportedOnce) {
    std::filesystem::create_directories(shell.prefix.paths().toNative(folder + "Algem1.WAV"));
    speech->speakStatus();
    speech->speakStatus();
    ASSERT_EQ(shell.dialogs.messages.size(), 1u);
    EXPECT_NE(shell.dialogs.messages[0].find("C:\\TARVOK\\SOUND\\Algem1.WAV"), std::string::npos);
    EXPECT_EQ(announcementsStarted(), 0);
}

TEST_F(SpeechWindowTest, ALinkOrPipeAtTheAnnouncementFileIsNeverWrittenThrough) {
    const auto algem1 = shell.prefix.paths().toNative(folder + "Algem1.WAV");
    const auto outside = shell.prefix.root() / "outside";
    test::writeFile(outside, "keep");
    std::filesystem::create_symlink(outside, algem1);
    speech->speakStatus();
    EXPECT_EQ(test::readFile(outside), "keep");
    ASSERT_EQ(shell.dialogs.messages.size(), 1u);
    EXPECT_NE(shell.dialogs.messages[0].find("(it is not a file)"), std::string::npos) << shell.dialogs.messages[0];

    std::filesystem::remove(algem1);
    test::FifoGuard pipe(algem1);
    shell.window->sound().setCompletionCode(1);
    speech->speakStatus();
    EXPECT_FALSE(pipe.released()) << "the announcement waited on the pipe";
    EXPECT_EQ(announcementsStarted(), 0);
}

}  // namespace
}  // namespace tarvok::gps
