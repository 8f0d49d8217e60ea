// The end of a program started detached is heard from the event loop,
// without polling: one that ends at once, one that runs until killed.
#include "platform/process_end_watch.h"

#include <QProcess>
#include <QSignalSpy>
#include <csignal>
#include <gtest/gtest.h>

#include "tests/support/wait_for.h"

namespace tarvok {
namespace {

TEST(ProcessEndWatch, TellsTheEndOfAProgramStartedDetached) {
    struct Row {
        QString program;
        QStringList arguments;
        bool killed;  // still running until the test kills it
    };
    for (const Row& row : {Row{QStringLiteral("true"), {}, false}, Row{QStringLiteral("sleep"), {"30"}, true}}) {
        SCOPED_TRACE(row.program.toStdString());
        qint64 pid = 0;
        ASSERT_TRUE(QProcess::startDetached(row.program, row.arguments, QString(), &pid));
        ProcessEndWatch watch(pid);
        ASSERT_TRUE(watch.watching());
        QSignalSpy ended(&watch, &ProcessEndWatch::ended);
        if (row.killed) {
            test::waitFor([] { return false; }, 50);
            EXPECT_TRUE(ended.isEmpty());
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        }
        EXPECT_TRUE(test::waitFor([&] { return !ended.isEmpty(); }));
        test::waitFor([] { return false; }, 20);
        EXPECT_EQ(ended.count(), 1);
    }
    EXPECT_FALSE(ProcessEndWatch(0).watching());
}

}  // namespace
}  // namespace tarvok
