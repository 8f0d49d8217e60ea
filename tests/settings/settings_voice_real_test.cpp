// Voice commands through the real path: a phrase spoken (espeak-ng, Dutch)
// into the PulseAudio null sink, heard by tarvok-listen on the sink's
// monitor, typed through the window presence into the real settings window,
// which answers it.
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

#include "common/window_titles.h"
#include "platform/window_presence.h"
#include "settings/settings_window.h"
#include "tests/support/null_microphone.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/scripted_sound_device.h"
#include "tests/support/temp_prefix.h"

namespace tarvok::settings {
namespace {

using test::waitFor;
using Prompts = std::vector<std::string>;
constexpr const char* kFileC = "C:\\WINDOWS\\VELKAR.DLL";

class SettingsVoiceRealPath : public test::NullMicrophone {
protected:
    test::TempPrefix tp;
    QTemporaryDir recordings;
    test::RecordingDialogs dialogs;
    std::unique_ptr<WindowPresence> presence;
    std::unique_ptr<SettingsWindow> w;
    QProcess listen;
    std::vector<Prompts> spoken;

    void SetUp() override {
        test::NullMicrophone::SetUp();
        if (IsSkipped() || HasFailure()) return;
        SettingsString s = SettingsString::settingsProgramTemplate();
        s.writeRaw(field::Language.pos, 1, "0");
        s.writeLeftAligned(field::BaudRate, "4800");
        tp.writeDos(kFileC, s.bytes());

        // The recogniser first, in dictation with its microphone on.
        presence = createWindowPresence();
        listen.start(TARVOK_LISTEN, {});
        ASSERT_TRUE(waitFor([&] { return presence->isOpen(kRecogniserDictationTitle); }, 20000))
            << listen.readAllStandardError().toStdString();

        // The window finds it at its start and listens; its own first
        // command, "Zegwat", is answered with the microphone off.
        // Prompts end at once: what plays is not under test here.
        auto sound = std::make_unique<test::ScriptedSoundDevice>();
        sound->completeOnPlay = true;
        w = std::make_unique<SettingsWindow>(tp.paths(), dialogs, presence.get(), nullptr, std::move(sound));
        w->setScreenSizeSource([] { return QSize(1024, 768); });
        w->setGpsdPort(1);
        ListeningLoop::Timings quickStart;
        quickStart.announce = std::chrono::milliseconds(100);
        w->listening().setTimings(quickStart);
        QObject::connect(w.get(), &SettingsWindow::speakRequested, [this](const Prompts& p) { spoken.push_back(p); });
        w->formLoad();
        ASSERT_TRUE(waitFor([&] { return !spoken.empty() && spoken.back() == Prompts{"INzegwat.WAV"}; }, 10000));
        ASSERT_TRUE(waitFor([&] { return w->listening().state() == ListeningLoop::State::Listening; }, 15000));
        // The window has asked for the microphone back; the recogniser takes
        // that message on its own time, and a phrase played before it has
        // done so would not be heard.
        ASSERT_TRUE(waitFor([&] { return presence->isOpen(kRecogniserDictationTitle); }, 15000));
    }
    void TearDown() override {
        if (listen.state() != QProcess::NotRunning) {
            listen.terminate();
            waitFor([&] { return listen.state() == QProcess::NotRunning; }, 5000);
        }
        test::NullMicrophone::TearDown();
    }

    std::filesystem::path spokenPhrase(const std::string& text) {
        const auto wav = std::filesystem::path(recordings.path().toStdString()) / (text + ".wav");
        EXPECT_TRUE(test::renderSpeech(text, "nl", 150, wav, 0.2)) << "espeak-ng or sox missing";
        return wav;
    }

    bool listeningAgain() const {
        return w->listening().state() == ListeningLoop::State::Listening &&
               presence->isOpen(kRecogniserDictationTitle);
    }

    // Says `text` until `done` holds, three times at most. The recogniser
    // mishears a phrase now and then (its accuracy is measured apart, by the
    // listen benchmark); the window answers what it heard, or nothing, and
    // listens again, and the phrase is said again, as a user would: what is
    // tested is what the window does with the phrase once heard.
    bool sayUntil(const std::string& text, const std::function<bool()>& done) {
        const auto wav = spokenPhrase(text);
        for (int attempt = 0; attempt < 3; ++attempt) {
            const std::size_t answers = spoken.size();
            if (!play(wav)) return false;
            waitFor([&] { return done() || (spoken.size() > answers && listeningAgain()); }, 10000);
            if (done()) return true;
            if (!waitFor([&] { return listeningAgain(); }, 15000)) return false;
        }
        return false;
    }
};

TEST_F(SettingsVoiceRealPath, SpokenPoortenShowsThePortsPageAndExplainsIt) {
    ASSERT_TRUE(sayUntil("poorten", [&] { return w->control("Frame2")->isVisible(); }))
        << listen.readAllStandardOutput().toStdString();
    EXPECT_EQ(w->pageCode(), 200);
    ASSERT_FALSE(spoken.empty());
    EXPECT_EQ(spoken.back().front(), "INpoort.WAV");
    EXPECT_EQ(spoken.back().at(1), "IN4800.WAV");
    // The answer over, the recogniser listens again.
    EXPECT_TRUE(waitFor([&] { return presence->isOpen(kRecogniserDictationTitle); }, 15000));
}

TEST_F(SettingsVoiceRealPath, SpokenStopEndsTheProgramWithTheSettingsSaved) {
    w->control<QPushButton>("Rate1")->click();  // 4800 -> 9600, in memory only
    ASSERT_TRUE(sayUntil("stop", [&] { return w->ended(); })) << listen.readAllStandardOutput().toStdString();
    EXPECT_EQ(spoken.back(), Prompts{"INeinde0.WAV"});
    EXPECT_EQ(SettingsString(tp.readDos(kFileC)).read(field::BaudRate), "9600 ");
    EXPECT_FALSE(presence->isOpen(kSettingsTitleDutch));
}

}  // namespace
}  // namespace tarvok::settings
