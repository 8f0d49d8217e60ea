// PlaySound, the opening sequence and the completion code.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "navigator/shell/navigator_state.h"
#include "navigator/shell/sound_playback.h"
#include "tests/support/real_audio.h"
#include "tests/support/scripted_sound_device.h"
#include "tests/support/temp_prefix.h"
#include "tests/support/wav_bytes.h"

namespace tarvok {
namespace {

using test::ScriptedSoundDevice;

// 250,000 passes of 1 microsecond: a quarter-second bound.
constexpr long kBoundMs = 250;

struct Playback {
    explicit Playback(std::unique_ptr<SoundDevice> device, char language = '1') {
        SoundPlayback::setPassDuration(std::chrono::microseconds(1));
        state.settings.language = language;
        state.settings.soundOn = '1';
        state.soundFolder = language == '0' ? ":\\TARVOK\\GELUID\\" : ":\\TARVOK\\SOUND\\";
        dev = device.get();
        sound = std::make_unique<SoundPlayback>(state, paths, std::move(device));
    }
    ~Playback() { SoundPlayback::setPassDuration(std::chrono::microseconds(40)); }
    test::TempPrefix prefix;
    DosPaths paths = prefix.paths();
    NavigatorState state;
    SoundDevice* dev = nullptr;
    std::unique_ptr<SoundPlayback> sound;
};

ScriptedSoundDevice& scripted(Playback& p) { return *static_cast<ScriptedSoundDevice*>(p.dev); }

TEST(PlaySound, SoundOffReturnsAtOnceWithoutTouchingTheDevice) {
    Playback p(std::make_unique<ScriptedSoundDevice>());
    p.state.settings.soundOn = '0';
    p.sound->setCompletionCode(4);
    p.state.currentSoundName = "Navig2.WAV";
    QElapsedTimer t;
    t.start();
    p.sound->playSound();
    EXPECT_LT(t.elapsed(), kBoundMs / 2);
    EXPECT_TRUE(scripted(p).calls.empty());
    EXPECT_EQ(p.sound->completionCode(), 4);
}

TEST(PlaySound, TakesTheFileFromTheLanguageFolderOnTheProgramDrive) {
    for (char language : {'1', '0'}) {
        Playback p(std::make_unique<ScriptedSoundDevice>(), language);
        p.state.programDrive = 'D';
        p.state.currentSoundName = "Navig2.WAV";
        QTimer::singleShot(10, p.sound.get(), [&] { scripted(p).notify(1); });
        p.sound->playSound();
        EXPECT_EQ(scripted(p).calls, (std::vector<std::string>{"close", "open Navig2.WAV", "play", "close"}));
        const char* folder = language == '1' ? "D:\\TARVOK\\SOUND\\Navig2.WAV" : "D:\\TARVOK\\GELUID\\Navig2.WAV";
        EXPECT_EQ(p.dev->fileName(), p.paths.toNative(folder));
        EXPECT_EQ(p.sound->completionCode(), 1);
    }
}

TEST(PlaySound, OnlyCodeOneEndsAWait) {
    Playback p(std::make_unique<ScriptedSoundDevice>());
    p.sound->start("C:\\TARVOK\\SOUND\\x.WAV");
    QTimer::singleShot(10, p.sound.get(), [&] {
        scripted(p).notify(2);
        scripted(p).notify(4);
        scripted(p).notify(8);
    });
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(p.sound->waitForEnd(SoundPlayback::kPlaySoundPasses));
    EXPECT_GE(t.elapsed(), kBoundMs - 25);
    EXPECT_EQ(p.sound->completionCode(), 8);

    p.sound->start("C:\\TARVOK\\SOUND\\x.WAV");
    EXPECT_EQ(p.sound->completionCode(), 0);
    QTimer::singleShot(10, p.sound.get(), [&] { scripted(p).notify(1); });
    t.restart();
    EXPECT_TRUE(p.sound->waitForEnd(SoundPlayback::kPlaySoundPasses * 100));  // a 25-second bound
    EXPECT_LT(t.elapsed(), 5000);
    // A code set by anyone else also ends a wait.
    p.sound->setCompletionCode(0);
    QTimer::singleShot(10, p.sound.get(), [&] { p.sound->setCompletionCode(1); });
    EXPECT_TRUE(p.sound->waitForEnd(SoundPlayback::kPlaySoundPasses * 100));
}

TEST(PlaySound, MissingFileEndsAtTheBoundWithoutAMessage) {
    Playback p(std::make_unique<SilentSoundDevice>());
    p.state.currentSoundName = "Missing.WAV";
    QSignalSpy notices(p.sound.get(), &SoundPlayback::notified);
    QElapsedTimer t;
    t.start();
    p.sound->playSound();
    EXPECT_GE(t.elapsed(), kBoundMs - 25);
    ASSERT_GE(notices.count(), 1);
    EXPECT_EQ(notices.at(0).at(0).toInt(), 8);  // failure, never success
    EXPECT_EQ(p.sound->completionCode(), 1);    // set after the wait
}

TEST(PlaySound, RealFileOnTheSilentDeviceEndsWithItsNotice) {
    Playback p(std::make_unique<SilentSoundDevice>());
    p.prefix.writeDos("C:\\TARVOK\\SOUND\\Navig1.WAV", test::wavBytes(40));
    p.state.currentSoundName = "Navig1.WAV";
    SoundPlayback::setPassDuration(std::chrono::microseconds(40));  // 10 seconds
    QElapsedTimer t;
    t.start();
    p.sound->playSound();
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_GE(t.elapsed(), 35);
}

TEST(PlaySound, ANewSoundCutsOffTheOneStartedWithoutWaiting) {
    Playback p(std::make_unique<SilentSoundDevice>());
    p.prefix.writeDos("C:\\TARVOK\\SOUND\\Algem1.WAV", test::wavBytes(3000));
    p.prefix.writeDos("C:\\TARVOK\\SOUND\\Navig2.WAV", test::wavBytes(30));
    QSignalSpy notices(p.sound.get(), &SoundPlayback::notified);
    p.sound->start("C:\\TARVOK\\SOUND\\Algem1.WAV");  // an announcement, not waited for
    QTest::qWait(20);
    p.state.currentSoundName = "Navig2.WAV";
    SoundPlayback::setPassDuration(std::chrono::microseconds(40));
    p.sound->playSound();
    EXPECT_TRUE(QTest::qWaitFor([&] { return notices.size() >= 2; }, 5000));
    QTest::qWait(20);  // no further notice follows
    std::vector<int> codes;
    for (const auto& n : notices) codes.push_back(n.at(0).toInt());
    // The announcement was aborted; only the second sound played to its end.
    EXPECT_EQ(codes, (std::vector<int>{4, 1}));
}

TEST(PlaySound, AnInnerSoundThatEndsAlsoEndsTheOuterWait) {
    Playback p(std::make_unique<ScriptedSoundDevice>());
    p.state.currentSoundName = "Route1.WAV";
    SoundPlayback::setPassDuration(std::chrono::microseconds(40));  // 10-second bounds
    QTimer::singleShot(10, p.sound.get(), [&] {
        // A handler nested in the outer wait plays its own sound.
        p.state.currentSoundName = "Navig2.WAV";
        QTimer::singleShot(10, p.sound.get(), [&] { scripted(p).notify(1); });
        p.sound->playSound();
    });
    QElapsedTimer t;
    t.start();
    p.sound->playSound();
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_EQ(scripted(p).opened(), (std::vector<std::string>{"Route1.WAV", "Navig2.WAV"}));
}

}  // namespace
}  // namespace tarvok

namespace tarvok {
namespace {

// PlaySound on the real audio output (the PulseAudio null sink of the test
// script): the sound's own notice, code 1, ends the wait.
using PlaySoundOnTheAudioOutput = test::RealAudio;

TEST_F(PlaySoundOnTheAudioOutput, EndsWithTheDevicesSuccessNotice) {
    Playback p(std::make_unique<AudioSinkDevice>());
    p.prefix.writeDos("C:\\TARVOK\\SOUND\\Navig2.WAV", test::wavBytes(200, 16000, 1, 16));
    p.state.currentSoundName = "Navig2.WAV";
    SoundPlayback::setPassDuration(std::chrono::microseconds(40));  // a 10-second bound
    QSignalSpy notices(p.sound.get(), &SoundPlayback::notified);
    QElapsedTimer t;
    t.start();
    p.sound->playSound();
    EXPECT_LT(t.elapsed(), 8000);
    EXPECT_GE(t.elapsed(), 190);
    ASSERT_GE(notices.count(), 1);
    EXPECT_EQ(notices.at(0).at(0).toInt(), 1);
    EXPECT_EQ(p.sound->completionCode(), 1);
}

}  // namespace
}  // namespace tarvok
