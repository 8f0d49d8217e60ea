// SETUP: the launch's steps against an in-memory window registry, and through
// the real window with a stand-in settings program as a second process.
#include "navigator/shell/settings_launch.h"

#include <QSignalSpy>
#include <QSlider>
#include <algorithm>
#include <filesystem>
#include <tuple>

#include "tests/navigator/shell/stand_in_settings.h"
#include "tests/navigator/shell/window_fixture.h"
#include "tests/support/fifo_guard.h"
#include "tests/support/memory_presence.h"
#include "tests/support/wait_for.h"

namespace tarvok {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Phase = SettingsLaunch::Phase;
using test::waitFor;

// A program that exists everywhere and ends at once, with short waits.
SettingsProgram quickProgram() {
    SettingsProgram p;
    p.name = "true";
    p.folders = {"/usr/bin"};
    p.gracePeriod = 100ms;
    p.lookInterval = 5ms;
    return p;
}

// A program that runs for `seconds`, then ends; it leaves the test's output
// alone, so nothing waits for it beyond that.
SettingsProgram programRunning(const char* seconds) {
    SettingsProgram p = quickProgram();
    p.name = "sh";
    p.folders = {"/bin"};
    p.arguments = {"-c", std::string("exec sleep ") + seconds + " </dev/null >/dev/null 2>&1"};
    return p;
}

// The launch alone, its calls recorded. Every start is followed by the
// setup sound, so `sounds` counts the starts.
struct RecordedLaunch {
    test::PresenceRegistry registry;
    test::MemoryPresence presence{registry};
    SettingsLaunch launch{presence};
    std::vector<std::string> statuses, messages;
    int sounds = 0, reloads = 0;
    std::function<void()> duringSound;

    RecordedLaunch() {
        launch.setProgram(quickProgram());
        launch.setCalls({[] { return Language::English; }, [this](const std::string& t) { statuses.push_back(t); },
                         [this] {
                             ++sounds;
                             if (duringSound) duringSound();
                         },
                         [this] { ++reloads; }, [this](const std::string& t) { messages.push_back(t); }});
    }
    bool reaches(Phase p) {
        return waitFor([&] { return launch.phase() == p; });
    }
    // Lets the launch look several more times.
    void settle() {
        waitFor([] { return false; }, 40);
    }
    // The reloads so far, once the launch has looked several more times.
    int settledReloads() {
        settle();
        return reloads;
    }
};

TEST(SettingsLaunch, WaitsForAWindowShownInTimeAndReloadsOnceItHasClosed) {
    RecordedLaunch r;
    r.duringSound = [&] { r.registry.open(kSettingsTitleDutch); };
    r.launch.setupCommandClick();
    EXPECT_EQ(r.statuses, std::vector<std::string>{"CHANGE SETTINGS"});
    EXPECT_EQ(r.launch.phase(), Phase::Grace);
    ASSERT_TRUE(r.reaches(Phase::Waiting));
    // Presses while it is open start nothing.
    r.launch.setupCommandClick();
    EXPECT_EQ(r.statuses.back(), " SETTINGS ALREADY OPEN ");
    EXPECT_EQ(r.settledReloads(), 0);
    EXPECT_EQ(r.sounds, 1);
    r.registry.close(kSettingsTitleDutch);
    ASSERT_TRUE(r.reaches(Phase::Idle));
    EXPECT_EQ(r.settledReloads(), 1);
    EXPECT_TRUE(r.messages.empty());
}

TEST(SettingsLaunch, AWindowLaterThanTheGracePeriodIsReloadedForAgainWhenItCloses) {
    RecordedLaunch r;
    r.launch.setProgram(programRunning("10"));  // still running while its window comes and goes
    r.launch.setupCommandClick();
    ASSERT_TRUE(r.reaches(Phase::LateWatch));
    EXPECT_EQ(r.reloads, 1);  // nothing appeared: reloaded at once
    r.registry.open(kSettingsTitleEnglish);
    ASSERT_TRUE(r.reaches(Phase::Waiting));
    EXPECT_EQ(r.settledReloads(), 1);
    r.registry.close(kSettingsTitleEnglish);
    ASSERT_TRUE(r.reaches(Phase::Idle));
    EXPECT_EQ(r.settledReloads(), 2);
}

// Its window unseen by the looks (never shown, or shown and closed between
// two), the started program's end ends the wait at once: within the grace
// period, and after it while a late window is watched for.
TEST(SettingsLaunch, TheEndOfTheStartedProgramEndsTheWaitAtOnce) {
    struct Row {
        SettingsProgram program;
        std::chrono::milliseconds grace;
        int reloads;
    };
    for (const Row& row : {Row{quickProgram(), 60s, 1}, Row{programRunning("1"), 50ms, 2}}) {
        SCOPED_TRACE(row.reloads);
        RecordedLaunch r;
        SettingsProgram p = row.program;
        p.gracePeriod = row.grace;
        r.launch.setProgram(p);
        r.launch.setupCommandClick();
        ASSERT_TRUE(r.reaches(Phase::Idle));
        EXPECT_EQ(r.reloads, row.reloads);
        EXPECT_TRUE(r.messages.empty());
    }
}

TEST(SettingsLaunch, ASettingsWindowOpenedElsewhereIsWaitedForWithoutAStart) {
    RecordedLaunch r;
    r.registry.open(kSettingsTitleEnglish);
    r.launch.setupCommandClick();
    EXPECT_EQ(std::tuple(r.statuses, r.sounds, r.launch.phase()),
              std::tuple(std::vector<std::string>{" SETTINGS ALREADY OPEN "}, 0, Phase::Waiting));
    r.registry.close(kSettingsTitleEnglish);
    ASSERT_TRUE(r.reaches(Phase::Idle));
    EXPECT_EQ(r.reloads, 1);
}

TEST(SettingsLaunch, AStoppedLaunchNeitherLooksNorReloads) {
    RecordedLaunch during;  // the window closes while the setup sound plays
    during.duringSound = [&] { during.launch.stop(); };
    during.launch.setupCommandClick();
    RecordedLaunch waiting;  // ... or while the settings window is open
    waiting.registry.open(kSettingsTitleEnglish);
    waiting.launch.setupCommandClick();
    waiting.launch.stop();
    waiting.registry.close(kSettingsTitleEnglish);
    for (RecordedLaunch* r : {&during, &waiting}) {
        r->settle();
        const int lookups = r->registry.lookups;
        r->settle();
        EXPECT_EQ(r->registry.lookups, lookups) << "no looks after the stop";
        EXPECT_EQ(r->launch.phase(), Phase::Idle);
        EXPECT_EQ(r->reloads, 0);
        r->launch.setupCommandClick();
        EXPECT_EQ(r->sounds, r == &during ? 1 : 0);
    }
}

// ------------------------------------------------------- the real window

// A main window with SETUP attached to a window registry (the real one in
// the test's runtime folder unless one is given), and its settings file on
// drive C.
struct SetupWindow {
    explicit SetupWindow(char language = '1', WindowPresence* given = nullptr) : shell({.language = language}) {
        if (!given) {
            real = createWindowPresence();
            given = real.get();
        }
        presence = given;
        launch = std::make_unique<SettingsLaunch>(*presence);
        launch->setProgram(quickProgram());
        shell.window->attachSettingsLaunch(*launch);
        settingsFile = shell.prefix.writeDos("C:\\WINDOWS\\VELKAR.DLL", shell.window->state().settingsString.bytes());
        shell.open();
    }
    NavigatorState& state() { return shell.window->state(); }
    int slider(const char* name) { return shell.control<QSlider>(name)->value(); }
    void clickSetup() { shell.button("SetupCommand")->click(); }

    test::ShellWindow shell;
    std::unique_ptr<WindowPresence> real;
    WindowPresence* presence = nullptr;
    std::unique_ptr<SettingsLaunch> launch;
    fs::path settingsFile;
};

TEST(SettingsLaunchWindow, AProgramThatCannotBeStartedIsReportedInTheWindowsLanguage) {
    test::PresenceRegistry registry;
    test::MemoryPresence presence(registry);
    // Nothing on the search path either.
    const QByteArray path = qgetenv("PATH");
    struct Row {
        char language;
        bool found;  // a file by that name that is no program
        std::vector<std::string> lines;
    };
    for (const Row& row : std::vector<Row>{
             {'1',
              false,
              {"The settings program was not started.", "Looked for in:", "and on the search path (PATH)."}},
             {'0', false, {"Het instellingenprogramma is niet gestart.", "Gezocht in:", "en in het zoekpad (PATH)."}},
             {'1', true, {"The settings program was not started.", "It could not be started:"}}}) {
        SCOPED_TRACE(row.language + std::string(row.found ? " found" : " missing"));
        SetupWindow w(row.language, &presence);
        const fs::path folder = w.shell.prefix.root() / "bin";
        fs::create_directories(folder);
        qputenv("PATH", folder.c_str());
        if (row.found) {
            test::writeFile(folder / "TarvokSET", "not a program\n");
            fs::permissions(folder / "TarvokSET", fs::perms::owner_all);
        }
        SettingsProgram p = quickProgram();
        p.name = "TarvokSET";
        p.folders = {folder.string()};
        w.launch->setProgram(p);
        w.clickSetup();
        qputenv("PATH", path);
        ASSERT_EQ(w.shell.dialogs.messages.size(), 1u);
        const std::string& m = w.shell.dialogs.messages[0];
        EXPECT_EQ(m.rfind("TARVOK\r\n\r\n", 0), 0u) << m;
        for (const std::string& line : row.lines) EXPECT_NE(m.find(line), std::string::npos) << m;
        EXPECT_NE(m.find((folder / "TarvokSET").string()), std::string::npos) << m;
        // The navigator goes on as before: no sound, no wait, no reload.
        EXPECT_EQ(w.state().settings.language, row.language);
        EXPECT_EQ(w.launch->phase(), Phase::Idle);
        for (const std::string& s : w.shell.device->opened()) EXPECT_NE(s, "Instel1.WAV");
        EXPECT_TRUE(w.shell.window->isVisible());
    }
}

// A settings file that is there but cannot be read when the settings program
// has closed: the settings in use stay and the user is told, in the window's
// language; a missing one is passed over in silence.
TEST(SettingsLaunchWindow, ASettingsFileThatCannotBeReadAfterSetupIsToldAndChangesNothing) {
    test::PresenceRegistry registry;
    test::MemoryPresence presence(registry);
    for (auto [language, text] : {std::pair{'1', "The settings in use stay as they were."},
                                  {'0', "De huidige instellingen blijven van kracht."}}) {
        SetupWindow w(language, &presence);
        const std::string before = w.state().settingsString.bytes();
        fs::remove(w.settingsFile);
        w.shell.window->reloadSettings();
        EXPECT_TRUE(w.shell.dialogs.messages.empty());
        test::FifoGuard pipe(w.settingsFile);
        ASSERT_TRUE(pipe.made());
        w.shell.window->reloadSettings();
        EXPECT_FALSE(pipe.released()) << "the reload waited on the pipe";
        ASSERT_EQ(w.shell.dialogs.messages.size(), 1u);
        const std::string& m = w.shell.dialogs.messages[0];
        EXPECT_NE(m.find("VELKAR.DLL"), std::string::npos) << m;
        EXPECT_NE(m.find(text), std::string::npos) << m;
        EXPECT_EQ(w.state().settingsString.bytes(), before);
        EXPECT_EQ(w.state().settings.language, language);
    }
}

TEST(SettingsLaunchWindow, EscapeOrStopDuringTheWaitActAsEverywhereElse) {
    test::PresenceRegistry registry;
    test::MemoryPresence presence(registry);
    registry.open(kSettingsTitleEnglish);
    struct Row {
        const char* action;
        bool navigating;
        bool ends;
    };
    for (const Row& row : std::vector<Row>{{"Escape", false, true}, {"STOP", false, true}, {"STOP", true, false}}) {
        SCOPED_TRACE(std::string(row.action) + (row.navigating ? " navigating" : ""));
        SetupWindow w('1', &presence);
        w.state().navigationActive = row.navigating ? 1 : 0;
        QSignalSpy reloaded(w.launch.get(), &SettingsLaunch::reloaded);
        w.clickSetup();
        ASSERT_EQ(w.launch->phase(), Phase::Waiting);
        if (std::string(row.action) == "Escape") w.shell.window->formKeyPress(27);
        else w.shell.button("cmdQuit")->click();
        EXPECT_EQ(w.shell.window->programEnded(), row.ends);
        EXPECT_EQ(w.launch->phase(), row.ends ? Phase::Idle : Phase::Waiting);
        if (row.navigating) { EXPECT_EQ(w.shell.window->status(), " NAVIGATION STOPPED"); }
        registry.close(kSettingsTitleEnglish);
        // A launch still waiting reloads once it sees the window gone; an
        // ended one is given the time of several looks to show it does not.
        if (row.ends) waitFor([] { return false; }, 100);
        else EXPECT_TRUE(waitFor([&] { return w.launch->phase() == Phase::Idle && !reloaded.isEmpty(); }, 10000));
        EXPECT_EQ(reloaded.count(), row.ends ? 0 : 1);
        registry.open(kSettingsTitleEnglish);
    }
}

TEST(SettingsLaunchWindow, TheNewSettingsTakeEffectAfterTheSettingsProgramHasClosed) {
    SetupWindow w;
    SettingsProgram p = test::standInSettingsProgram(kSettingsTitleEnglish, 0, 20000, w.settingsFile,
                                                     {{5, "0"}, {10, "2"}, {33, "5"}, {51, "07"}, {80, "35   "}});
    p.gracePeriod = 400ms;
    w.launch->setProgram(p);
    QSignalSpy reloaded(w.launch.get(), &SettingsLaunch::reloaded);
    w.state().screenCorrectionX = 100;  // moved with the O key meanwhile

    w.clickSetup();
    EXPECT_EQ(w.shell.window->status(), "CHANGE SETTINGS");
    auto setupSounds = [&] {
        const auto o = w.shell.device->opened();
        return std::count(o.begin(), o.end(), "Instel1.WAV");
    };
    EXPECT_EQ(w.shell.device->opened().back(), "Instel1.WAV");
    EXPECT_NE(w.shell.device->fileName().string().find("SOUND"), std::string::npos);
    ASSERT_TRUE(waitFor([&] { return w.presence->isOpen(kSettingsTitleEnglish); }, 20000));
    w.clickSetup();
    EXPECT_EQ(w.shell.window->status(), " SETTINGS ALREADY OPEN ");
    EXPECT_EQ(setupSounds(), 1) << "no second settings program";
    EXPECT_EQ(w.state().settings.speedUnit, '1');
    // The user closes the settings window.
    ASSERT_TRUE(w.presence->send(kSettingsTitleEnglish, "quit"));

    ASSERT_TRUE(waitFor([&] { return w.state().settings.speedUnit == '2'; }, 10000));
    ASSERT_TRUE(waitFor([&] { return w.launch->phase() == Phase::Idle; }));
    EXPECT_FALSE(w.presence->isOpen(kSettingsTitleEnglish));
    // Taken over at once: language of run-time texts, unit, sliders, the
    // screen correction from the file.
    EXPECT_EQ(
        std::tuple(w.state().settings.language, w.slider("Slider1"), w.slider("Slider3"), w.state().screenCorrectionX),
        std::tuple('0', 5, 7, 70));
    EXPECT_GE(w.shell.speech.fragmentLoads, 2) << "the spoken unit word follows the new unit";
    w.shell.window->formKeyPress('G');
    EXPECT_EQ(w.shell.window->status(), "  GELUID = UIT ");
    // Left until the next start: captions, tooltips and the sound folder.
    EXPECT_EQ(w.shell.button("SetupCommand")->toolTip().toStdString(), "Specific Settings");
    EXPECT_EQ(w.shell.button("Command2")->text().toStdString(), "LOA&D");
    EXPECT_EQ(w.state().soundFolder, ":\\TARVOK\\SOUND\\");
    EXPECT_TRUE(w.shell.dialogs.messages.empty());
    EXPECT_GE(reloaded.count(), 1);
}

TEST(SettingsLaunchWindow, ASettingsWindowShownAfterTheGracePeriodIsStillReloadedFor) {
    SetupWindow w;
    SettingsProgram p = test::standInSettingsProgram(kSettingsTitleDutch, 600, 300, w.settingsFile, {{10, "3"}});
    p.gracePeriod = 50ms;
    w.launch->setProgram(p);
    QSignalSpy reloaded(w.launch.get(), &SettingsLaunch::reloaded);
    w.clickSetup();
    ASSERT_TRUE(waitFor([&] { return reloaded.count() == 1; }));
    EXPECT_EQ(w.state().settings.speedUnit, '1') << "reloaded at the end of the grace period";
    EXPECT_EQ(w.launch->phase(), Phase::LateWatch);
    ASSERT_TRUE(waitFor([&] { return reloaded.count() == 2; }, 10000));
    EXPECT_EQ(std::tuple(w.state().settings.speedUnit, w.launch->phase()), std::tuple('3', Phase::Idle));
}

}  // namespace
}  // namespace tarvok
