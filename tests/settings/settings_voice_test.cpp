// Form1 driven by spoken commands, offscreen: a recogniser double on the
// in-memory presence registry switches its microphone as the window asks and
// types phrases into the window's command box.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "common/text.h"
#include "common/window_titles.h"
#include "platform/media_control.h"
#include "settings/settings_window.h"
#include "tests/support/memory_presence.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/scripted_sound_device.h"
#include "tests/support/temp_prefix.h"
#include "tests/support/wait_for.h"

namespace tarvok::settings {
namespace {

using Prompts = std::vector<std::string>;
using State = ListeningLoop::State;
using test::waitFor;

constexpr const char* kFileC = "C:\\WINDOWS\\VELKAR.DLL";

// The recogniser as the window sees it: a title that tells its state, "^+O"
// switching the microphone, "^+D" dictation; phrases typed into the window.
class RecogniserDouble {
public:
    explicit RecogniserDouble(test::PresenceRegistry& registry) : presence_(registry) {
        QObject::connect(&presence_, &WindowPresence::messageReceived, [this](const std::string& keys) {
            this->keys.push_back(keys);
            if (keys == kMicrophoneKeys) microphoneOn_ = !microphoneOn_;
            show();
        });
        show();
    }
    void type(const std::string& phrase) {
        for (const char* title : {kSettingsTitleDutch, kSettingsTitleEnglish})
            if (presence_.send(title, phrase)) return;
        ADD_FAILURE() << "no settings window to type into";
    }
    std::vector<std::string> keys;

private:
    void show() { presence_.announce(microphoneOn_ ? kRecogniserDictationTitle : kRecogniserMutedTitle); }
    test::MemoryPresence presence_;
    bool microphoneOn_ = true;
};

class SettingsVoiceTest : public ::testing::Test {
protected:
    test::TempPrefix tp;
    test::RecordingDialogs dialogs;
    test::PresenceRegistry registry;
    test::MemoryPresence presence{registry};
    std::unique_ptr<RecogniserDouble> recogniser = std::make_unique<RecogniserDouble>(registry);
    std::unique_ptr<SettingsWindow> w;
    std::vector<Prompts> spoken;
    std::vector<CommandBoxColours> coloursWhenSpeaking;
    int answers = 0;
    std::string announced;  // the box when the loop was about to start
    test::ScriptedSoundDevice* device = nullptr;

    void SetUp() override {
        SettingsString s = SettingsString::settingsProgramTemplate();
        for (auto [f, v] : std::initializer_list<std::pair<field::Field, const char*>>{{field::Language, "0"},
                                                                                       {field::BaudRate, "4800 "},
                                                                                       {field::Parity, "1"},
                                                                                       {field::DataBits, "8"},
                                                                                       {field::GpsPort, "1"},
                                                                                       {field::SoundOn, "1"},
                                                                                       {field::RouteSource, "1"},
                                                                                       {field::MapProduct, "1"},
                                                                                       {field::PanelSide, "1"},
                                                                                       {field::RecordRoute, "0"}})
            s.writeRaw(f.pos, f.width, v);
        tp.writeDos(kFileC, s.bytes());
    }
    void TearDown() override { MediaControl::setPassDuration(std::chrono::microseconds(40)); }

    // Opens the window; with the recogniser there, waits until the loop has
    // answered its own first "Zegwat".
    SettingsWindow& open() {
        auto scripted = std::make_unique<test::ScriptedSoundDevice>();
        scripted->completeOnPlay = true;
        device = scripted.get();
        w = std::make_unique<SettingsWindow>(tp.paths(), dialogs, &presence, nullptr, std::move(scripted));
        w->setScreenSizeSource([] { return QSize(1024, 768); });
        w->setDeviceRoots(tp.root() / "dev", tp.root() / "sys");
        w->setGpsdPort(1);
        w->setRandomSource([] { return 0.5; });
        w->listening().setTimings({std::chrono::milliseconds(30), std::chrono::milliseconds(1),
                                   std::chrono::milliseconds(1), std::chrono::milliseconds(120)});
        QObject::connect(w.get(), &SettingsWindow::speakRequested, [this](const Prompts& p) {
            spoken.push_back(p);
            QPalette pal = box()->palette();
            auto rgb = [](QColor c) { return Rgb{c.red(), c.green(), c.blue()}; };
            coloursWhenSpeaking.push_back({rgb(pal.color(QPalette::Base)), rgb(pal.color(QPalette::Text))});
        });
        QObject::connect(&w->listening(), &ListeningLoop::stateChanged, [this](State s) {
            if (s == State::Busy) ++answers;
            if (s == State::Announcing) announced = text("JText1");
        });
        w->formLoad();
        EXPECT_TRUE(waitFor([&] { return !w->startingUp(); }));
        if (recogniser) {
            EXPECT_EQ(announced, " FreeSpeech!");
            EXPECT_TRUE(waitFor([&] { return answers == 1 && listening(); }));
            EXPECT_EQ(spoken.back(), Prompts{"INzegwat.WAV"});
        }
        return *w;
    }
    QLineEdit* box() { return w->control<QLineEdit>("JText1"); }
    bool listening() { return w->listening().state() == State::Listening; }
    // A phrase from the recogniser, and the window's answer to it.
    Prompts say(const std::string& phrase) {
        const int before = answers;
        const std::size_t spokenBefore = spoken.size();
        recogniser->type(phrase);
        EXPECT_TRUE(waitFor([&] { return answers == before + 1 && (listening() || w->ended()); })) << phrase;
        return spoken.size() > spokenBefore ? spoken.back() : Prompts{};
    }
    std::string field(field::Field f) { return std::string(w->settingsString().read(f)); }
    std::string text(const char* name) { return utf8ToCp1252(w->control<QLineEdit>(name)->text().toStdString()); }
};

TEST_F(SettingsVoiceTest, WithoutRecogniserTheStartSaysSoAndDoesNotListen) {
    recogniser.reset();
    open();
    EXPECT_EQ(spoken.back(), Prompts{"INfout5.WAV"});
    EXPECT_EQ(w->listening().state(), State::Off);
    EXPECT_EQ(text("JText1"), "");
}

TEST_F(SettingsVoiceTest, StartAnnouncesThenAnswersZegwatWithTheMicrophoneOffAndBusyColours) {
    open();
    // Muted before the answer (then dictation), unmuted after it.
    EXPECT_EQ(recogniser->keys, (Prompts{"^+O", "^+D", "^+O"}));
    EXPECT_TRUE(presence.isOpen(kRecogniserDictationTitle));
    EXPECT_EQ(coloursWhenSpeaking.back().background, kBusyColours.background);
    EXPECT_EQ(coloursWhenSpeaking.back().text, kBusyColours.text);
    EXPECT_EQ(box()->palette().color(QPalette::Base), QColor(32, 32, 32));
    EXPECT_EQ(box()->palette().color(QPalette::Text), QColor(255, 255, 0));
    EXPECT_EQ(text("JText1"), "");
    EXPECT_EQ(w->pageCode(), 0);
}

// The ports page's dialog and the pages chosen by voice, step by step.
TEST_F(SettingsVoiceTest, PagesAndTheChangeDialogAnswerAsTheTableSays) {
    open();
    w->control<QCheckBox>("Check1")->setChecked(false);
    struct Row {
        const char* phrase;
        Prompts says;
        int code;
        const char* page;  // the page frame shown, or null
    } rows[] = {
        {"ja", {"INeinde6.WAV"}, 1, nullptr},
        {"ja", {"INfout2.WAV"}, 1, nullptr},  // random 0.5: 2.5 rounds to 2
        {"poorten",
         {"INpoort.WAV", "IN4800.WAV", "INparit1.WAV", "1.WAV", "INbits1.WAV", "8.WAV", "INcompo.WAV", "INCOM-1.WAV"},
         200,
         "Frame2"},
        {"verander", {"INveran2.WAV", "IN4800.WAV", "INok1.WAV"}, 200, nullptr},
        {"nee", {"IN9600.WAV", "INok1.WAV"}, 200, nullptr},
        {"Ja", {"INparit1.WAV", "1.WAV", "INok1.WAV"}, 201, nullptr},
        {"week", {"INparit1.WAV", "0.WAV", "INok1.WAV"}, 201, nullptr},
        {"verander", {"INfout2.WAV"}, 201, nullptr},
        {"kaarten", {"INgardh2.WAV", "INplek1.WAV", "INRsav0.WAV"}, 300, "Frame3"},
        {"computer", {"INRsav0.WAV"}, 300, nullptr},  // the prompt spoken last, once more
        {"zomaar iets", {"INfout2.WAV"}, 300, nullptr},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(say(r.phrase), r.says) << r.phrase;
        EXPECT_EQ(w->pageCode(), r.code) << r.phrase;
        if (r.page) {
            EXPECT_TRUE(w->control(r.page)->isVisible()) << r.phrase;
        }
    }
    // "nee" moved the values as the buttons do: boxes and fields.
    EXPECT_EQ(text("BText1"), "9600");
    EXPECT_EQ(field(field::BaudRate), "9600 ");
    EXPECT_EQ(text("Ptext1"), "0");
    EXPECT_EQ(field(field::Parity), "0");
}

TEST_F(SettingsVoiceTest, OneCharacterWaitsInTheBoxUntilMoreArrives) {
    open();
    recogniser->type("j");
    EXPECT_FALSE(waitFor([&] { return answers > 1; }, 400));
    EXPECT_EQ(text("JText1"), "j");
    EXPECT_EQ(say("a"), Prompts{"INeinde6.WAV"});
}

TEST_F(SettingsVoiceTest, StopWithCapitalAndBlankEndsTheProgramSaved) {
    open();
    w->control<QPushButton>("Rate1")->click();  // 4800 -> 9600
    QSignalSpy unloaded(w.get(), &SettingsWindow::unloaded);
    EXPECT_EQ(say("Stop "), Prompts{"INeinde0.WAV"});
    EXPECT_EQ(text("JText1"), "stop");
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_EQ(w->listening().state(), State::Off);
    EXPECT_EQ(SettingsString(tp.readDos(kFileC)).read(field::BaudRate), "9600 ");
}

// The window stays usable while it listens: typed text counts as spoken,
// buttons work, and a click in the box starts listening anew.
TEST_F(SettingsVoiceTest, KeyboardAndMouseWorkWhileListening) {
    open();
    w->control<QPushButton>("Mtoets5")->click();
    EXPECT_EQ(w->pageCode(), 500);
    QTest::keyClicks(box(), "verander");
    EXPECT_TRUE(waitFor([&] { return answers == 2 && listening(); }));
    EXPECT_EQ(spoken.back(), (Prompts{"INveran5.WAV", "INkeyb2.WAV", "INok1.WAV"}));
    QTest::mouseClick(box(), Qt::LeftButton);
    EXPECT_EQ(w->pageCode(), 0);
    EXPECT_TRUE(waitFor([&] { return answers == 3 && listening(); }));
    EXPECT_EQ(spoken.back(), Prompts{"INzegwat.WAV"});
}

// A command that comes in while a prompt plays stops that prompt before the
// microphone goes off; the rest of its explanation is dropped.
TEST_F(SettingsVoiceTest, ACommandCutsOffThePromptThatPlays) {
    open();
    MediaControl::setPassDuration(std::chrono::microseconds(25));  // a prompt that never ends waits 3 s
    device->completeOnPlay = false;
    w->control<QCheckBox>("Check1")->setChecked(true);
    device->calls.clear();
    QTimer::singleShot(0, [&] { recogniser->type("help"); });
    // The answer itself ends as prompts do.
    QObject::connect(w.get(), &SettingsWindow::speakRequested, [&](const Prompts& p) {
        if (p == Prompts{"INhelp02.WAV"}) device->completeOnPlay = true;
    });
    // The prompt stops before the microphone is switched off.
    std::string lastCallWhenMuting;
    QObject::connect(&w->listening(), &ListeningLoop::stateChanged, [&](State s) {
        if (s == State::Muting) lastCallWhenMuting = device->calls.back();
    });
    w->control<QPushButton>("Mtoets2")->click();  // returns when its explanation has stopped
    EXPECT_TRUE(waitFor([&] { return answers == 2 && listening(); }));
    EXPECT_EQ(spoken.back(), Prompts{"INhelp02.WAV"});
    EXPECT_EQ(device->opened(), (Prompts{"INpoort.WAV", "INhelp02.WAV"}));
    EXPECT_EQ(lastCallWhenMuting, "close");
}

// A recogniser that never changes its state is waited for 25 looks each
// time, and the answer comes all the same.
TEST_F(SettingsVoiceTest, ARecogniserThatDoesNotSwitchIsNotWaitedForLong) {
    recogniser.reset();
    registry.open(kRecogniserDictationTitle);
    open();
    EXPECT_TRUE(waitFor([&] { return answers == 1 && listening(); }));
    EXPECT_EQ(spoken.back(), Prompts{"INzegwat.WAV"});
    const std::vector<std::pair<std::string, std::string>> sent = {
        {kRecogniserDictationTitle, "^+O"}, {kRecogniserDictationTitle, "^+D"}, {kRecogniserDictationTitle, "^+O"}};
    EXPECT_EQ(registry.sent, sent);
}

}  // namespace
}  // namespace tarvok::settings
