// The multimedia control: the settings program's PlayPrompt, the record of
// started sounds, and a prompt through the real audio output. PlaySound and
// the waits are tested through the navigator's use of the control.
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/media_control.h"
#include "tests/support/real_audio.h"
#include "tests/support/scripted_sound_device.h"
#include "tests/support/temp_prefix.h"
#include "tests/support/wav_bytes.h"

namespace tarvok {
namespace {

using test::ScriptedSoundDevice;

constexpr const char* kFolder = "C:\\TARVOK\\GELUID\\";

struct Control {
    explicit Control(std::unique_ptr<SoundDevice> device = std::make_unique<ScriptedSoundDevice>()) {
        // 120,000 checks of 1 microsecond: a bound of 120 ms.
        MediaControl::setPassDuration(std::chrono::microseconds(1));
        dev = device.get();
        control = std::make_unique<MediaControl>(paths, std::move(device));
    }
    ~Control() { MediaControl::setPassDuration(std::chrono::microseconds(40)); }
    ScriptedSoundDevice& scripted() { return *static_cast<ScriptedSoundDevice*>(dev); }
    // Plays a prompt; how long it took. `notice` (when not 0) is the device's
    // notice 10 ms after the start.
    long long prompt(char soundSwitch, const std::string& name, int notice = 0) {
        if (notice) QTimer::singleShot(10, control.get(), [this, notice] { scripted().notify(notice); });
        QElapsedTimer t;
        t.start();
        control->playPrompt(soundSwitch, kFolder, name);
        return t.elapsed();
    }
    test::TempPrefix prefix;
    DosPaths paths = prefix.paths();
    SoundDevice* dev = nullptr;
    std::unique_ptr<MediaControl> control;
};

using Calls = std::vector<std::string>;

TEST(PlayPrompt, FollowsTheSoundSwitch) {
    struct Case {
        char soundSwitch;
        int notice;
        Calls calls;
        int code;
        long long atLeastMs, belowMs;
    } cases[] = {
        // Off: nothing is touched, the code stays.
        {'0', 0, {}, 4, 0, 60},
        // On: waited for until its notice, then closed.
        {'1', 1, {"close", "open INstart1.WAV", "play", "close"}, 1, 5, 100},
        // On without a notice: the wait ends at its bound.
        {'1', 0, {"close", "open INstart1.WAV", "play", "close"}, 1, 110, 5000},
        // Any other value: started and not waited for.
        {'2', 0, {"close", "open INstart1.WAV", "play"}, 0, 0, 60},
    };
    for (const Case& c : cases) {
        Control k;
        k.control->setCompletionCode(4);
        const long long ms = k.prompt(c.soundSwitch, "INstart1.WAV", c.notice);
        SCOPED_TRACE(std::string("switch ") + c.soundSwitch + " notice " + std::to_string(c.notice));
        EXPECT_EQ(k.scripted().calls, c.calls);
        EXPECT_EQ(k.control->completionCode(), c.code);
        EXPECT_GE(ms, c.atLeastMs);
        EXPECT_LT(ms, c.belowMs);
        if (!c.calls.empty()) {
            EXPECT_EQ(k.dev->fileName(), k.paths.toNative("C:\\TARVOK\\GELUID\\INstart1.WAV"));
        }
    }
}

TEST(PlayPrompt, APromptStartedDuringAWaitEndsThatWait) {
    Control k;
    MediaControl::setPassDuration(std::chrono::microseconds(40));  // 4.8-second bounds
    QTimer::singleShot(10, k.control.get(), [&] { k.prompt('1', "INtaal1.WAV", 1); });
    EXPECT_LT(k.prompt('1', "INsnel1.WAV"), 2000);
    EXPECT_EQ(k.scripted().opened(), (Calls{"INsnel1.WAV", "INtaal1.WAV"}));
    EXPECT_EQ(k.control->completionCode(), 1);
}

TEST(MediaControl, KeepsTheSoundsStartedUntilTaken) {
    Control k;
    k.control->start("C:\\TARVOK\\SOUND\\Welkom5.WAV");
    k.control->playSound('1', "C:\\TARVOK\\SOUND\\", "Navig1.WAV");
    k.control->playSound('0', "C:\\TARVOK\\SOUND\\", "Navig2.WAV");  // sound off: not started
    k.prompt('2', "INgelui1.WAV");
    EXPECT_EQ(k.control->takeStartedSounds(), (Calls{"C:\\TARVOK\\SOUND\\Welkom5.WAV", "C:\\TARVOK\\SOUND\\Navig1.WAV",
                                                     "C:\\TARVOK\\GELUID\\INgelui1.WAV"}));
    EXPECT_TRUE(k.control->takeStartedSounds().empty());
    // A record nobody takes stays bounded and keeps the latest.
    const std::size_t n = MediaControl::kStartedSoundsKept + 5;
    for (std::size_t i = 0; i < n; ++i) k.control->start("C:\\" + std::to_string(i) + ".WAV");
    Calls kept = k.control->takeStartedSounds();
    ASSERT_EQ(kept.size(), MediaControl::kStartedSoundsKept);
    EXPECT_EQ(kept.front(), "C:\\5.WAV");
    EXPECT_EQ(kept.back(), "C:\\" + std::to_string(n - 1) + ".WAV");
    EXPECT_EQ(k.control->soundsStarted(), n + 3);
}

// A prompt through Qt Multimedia to the PulseAudio null sink of the test
// script: its own success notice ends the wait.
using PlayPromptOnTheAudioOutput = test::RealAudio;

TEST_F(PlayPromptOnTheAudioOutput, EndsWithTheDevicesSuccessNotice) {
    Control k(std::make_unique<AudioSinkDevice>());
    k.prefix.writeDos("C:\\TARVOK\\GELUID\\INstart1.WAV", test::wavBytes(200, 16000, 1, 16));
    MediaControl::setPassDuration(std::chrono::microseconds(40));  // a 4.8-second bound
    std::vector<int> notices;
    QObject::connect(k.control.get(), &MediaControl::notified, [&](int code) { notices.push_back(code); });
    const long long ms = k.prompt('1', "INstart1.WAV");
    EXPECT_GE(ms, 190);
    EXPECT_LT(ms, 4500);
    ASSERT_FALSE(notices.empty());
    EXPECT_EQ(notices.front(), 1);
    EXPECT_EQ(k.control->completionCode(), 1);
}

}  // namespace
}  // namespace tarvok
