// TarvokSET as a program: a first start on an empty drive prefix makes the
// prefix, opens the window and announces its title to other programs; the
// title goes when the program does.
#include <QProcess>
#include <filesystem>
#include <gtest/gtest.h>

#include "common/settings.h"
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

}  // namespace
}  // namespace tarvok
