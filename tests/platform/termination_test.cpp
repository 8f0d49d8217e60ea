// Requests to end from outside, through real signals, in a child process
// each: the program's own close runs; one that hangs is ended within the
// bound, as the first request's signal ends a program.
#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

#include "platform/termination.h"

namespace tarvok {
namespace {

// Raises `requests` one after another, then runs the event loop; a close
// that `hangs` never returns. Exits 7 when no request was heard in time.
[[noreturn]] void endRequested(const std::vector<int>& requests, bool hangs) {
    QObject context;
    onTerminationRequest(
        &context,
        [hangs] {
            while (hangs) ::pause();
            QCoreApplication::exit(0);
        },
        std::chrono::seconds(1));
    for (int signal : requests) ::raise(signal);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(7); });
    std::_Exit(QCoreApplication::exec());
}

TEST(TerminationDeathTest, TheCloseRunsAndAStuckOneIsEndedWithinTheBound) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Row {
        const char* what;
        std::vector<int> requests;
        bool hangs;
        std::function<bool(int)> ended;
    };
    for (const Row& row : std::vector<Row>{
             {"a close that ends, a second request meanwhile", {SIGTERM, SIGHUP}, false, testing::ExitedWithCode(0)},
             {"a close that hangs", {SIGTERM}, true, testing::KilledBySignal(SIGTERM)},
             {"the first request's signal ends it", {SIGINT, SIGTERM}, true, testing::KilledBySignal(SIGINT)}}) {
        SCOPED_TRACE(row.what);
        EXPECT_EXIT(endRequested(row.requests, row.hangs), row.ended, "");
    }
}

}  // namespace
}  // namespace tarvok
