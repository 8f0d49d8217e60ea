// TarvokSET as a program: a first start on an empty drive prefix makes the
// prefix, opens the window and announces its title to other programs; the
// title goes when the program does.
#include <QProcess>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

#include "common/settings.h"
#include "platform/termination.h"
#include "platform/window_presence.h"
#include "tests/support/temp_prefix.h"
#include "tests/support/wait_for.h"

namespace tarvok {
namespace {

TEST(SettingsProgram, FirstStartMakesThePrefixAndAnnouncesTheWindow) {
    test::TempPrefix tp;
    std::unique_ptr<WindowPresence> presence = createWindowPresence();
    const std::string title = "TARVOK - SETTINGS";  // the built-in settings are English
    ASSERT_FALSE(presence->isOpen(title));
    QProcess set;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    set.setProcessEnvironment(env);
    set.setProcessChannelMode(QProcess::ForwardedChannels);
    set.start(QStringLiteral(TARVOK_SET), {});
    ASSERT_TRUE(set.waitForStarted(5000));
    EXPECT_TRUE(test::waitFor([&] { return presence->isOpen(title); }, 15000));
    EXPECT_EQ(tp.readDos("C:\\WINDOWS\\VELKAR.DLL"), SettingsString::settingsProgramTemplate().bytes());
    EXPECT_EQ(set.state(), QProcess::Running);
    set.kill();
    set.waitForFinished(5000);
    EXPECT_TRUE(test::waitFor([&] { return !presence->isOpen(title); }, 5000));
}

// Starts TarvokSET offscreen and waits until its window is announced.
bool startWithWindow(QProcess& set, WindowPresence& presence) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    set.setProcessEnvironment(env);
    set.start(QStringLiteral(TARVOK_SET), {});
    return test::waitFor([&] { return presence.isOpen("TARVOK - SETTINGS"); }, 15000);
}

// A session or service manager that ends the program, a terminal that goes,
// Ctrl+C: the window closes as the user closes it, saving what it holds.
TEST(SettingsProgram, AnEndRequestedFromOutsideClosesTheWindowAndSaves) {
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        test::TempPrefix tp;
        std::unique_ptr<WindowPresence> presence = createWindowPresence();
        QProcess set;
        ASSERT_TRUE(startWithWindow(set, *presence));
        // Changed behind its back: the save at its end writes what it holds.
        tp.writeDos("C:\\WINDOWS\\VELKAR.DLL", "changed");
        ::kill(static_cast<pid_t>(set.processId()), signal);
        ASSERT_TRUE(set.waitForFinished(10000));
        EXPECT_EQ(set.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(set.exitCode(), 0);
        EXPECT_EQ(tp.readDos("C:\\WINDOWS\\VELKAR.DLL"), SettingsString::settingsProgramTemplate().bytes());
        EXPECT_FALSE(presence->isOpen("TARVOK - SETTINGS"));
    }
}

// A close that cannot end by itself: the save fails (a folder stands where
// the settings file belongs) and its message waits for an answer nobody
// gives. The request's own signal ends the program once the bound is over.
TEST(SettingsProgram, AnEndRequestedFromOutsideThatHangsIsCutOffAfterTheBound) {
    test::TempPrefix tp;
    std::unique_ptr<WindowPresence> presence = createWindowPresence();
    QProcess set;
    ASSERT_TRUE(startWithWindow(set, *presence));
    const std::filesystem::path file = tp.paths().toNative("C:\\WINDOWS\\VELKAR.DLL");
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    ::kill(static_cast<pid_t>(set.processId()), SIGTERM);
    ASSERT_TRUE(set.waitForFinished(int(std::chrono::milliseconds(kEndRequestBound).count()) + 5000));
    EXPECT_EQ(set.exitStatus(), QProcess::CrashExit);
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

}  // namespace
}  // namespace tarvok
