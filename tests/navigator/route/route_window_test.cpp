#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressBar>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <functional>
#include <tuple>

#include "common/text.h"
#include "navigator/navigator_windows.h"
#include "navigator/route/route_window.h"
#include "tests/navigator/route/recording_position_calls.h"
#include "tests/navigator/route/route_test_files.h"
#include "tests/navigator/shell/window_fixture.h"
#include "tests/support/playback_clocks.h"
#include "tests/support/readouts.h"

namespace tarvok {
namespace {

constexpr const char* kRoute = "C:\\TARVOK\\ROUTE1.TVK";

struct RouteWindow : ::testing::Test {
    test::ShellWindow shell{test::WindowOptions{'1', '0'}};
    test::RecordingPositionCalls position;
    test::UnpacedPlaybackClock clock;
    std::vector<std::int64_t> shown;
    std::unique_ptr<TrackWindowImport> tracks;
    std::unique_ptr<RouteWindowPlayback> route;

    void SetUp() override {
        RouteWindowPlayback::setEndTextDuration(std::chrono::milliseconds(30));
        shell.open();
        tracks = std::make_unique<TrackWindowImport>(trackImportLinks(*shell.window), &position, clock);
        route =
            std::make_unique<RouteWindowPlayback>(routePlaybackLinks(*shell.window), tracks.get(), &position, clock);
        QObject::connect(route.get(), &RouteWindowPlayback::recordShown,
                         [this](std::int64_t k) { shown.push_back(k); });
    }
    void TearDown() override { RouteWindowPlayback::setEndTextDuration(std::chrono::milliseconds(2000)); }

    NavigatorState& state() { return shell.window->state(); }
    std::string text(const char* box) { return utf8ToCp1252(shell.box(box)->text().toStdString()); }
    QWidget* control(const char* name) { return shell.control(name); }
    int progress() { return shell.control<QProgressBar>("ProgressBar1")->value(); }
    void offerPlayback() {
        shell.button("Command1")->click();
        ASSERT_TRUE(control("Frame10")->isVisible());
    }
    // The playback flag, the status line, and whether the route panel and
    // the instruments are shown.
    auto panel() {
        return std::tuple(int(state().playbackActive), shell.window->status(), control("Frame10")->isVisible(),
                          control("Picture2")->isVisible());
    }
    // Presses PLAY and waits until PlayRoute has ended; when record `at` is
    // shown, `then` runs from the event queue, between two records. True
    // when the playback ended with its flag cleared.
    bool play(int speedStep, std::int64_t at = -1, std::function<void()> then = {}) {
        shell.control<QSlider>("Slider1")->setValue(speedStep);
        QEventLoop loop;
        QObject::connect(route.get(), &RouteWindowPlayback::finished, &loop, &QEventLoop::quit);
        QObject::connect(route.get(), &RouteWindowPlayback::recordShown, &loop, [&](std::int64_t k) {
            if (k == at) QTimer::singleShot(0, then);
        });
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        shell.button("Play1")->click();
        playingAfterClick = route->playing();
        loop.exec();
        return !route->playing() && state().playbackActive == 0;
    }
    bool playingAfterClick = false;  // PLAY returned while the records were still to come
};

TEST_F(RouteWindow, RouteButtonOffersThePanelAndTakesItAwayAgain) {
    state().navigationActive = 1;
    shell.button("Command1")->click();
    EXPECT_EQ(panel(), std::tuple(1, std::string(" PLAY DRIVEN ROUTE"), true, false));
    EXPECT_EQ(state().navigationActive, 0);
    shell.button("Command1")->click();
    EXPECT_EQ(panel(), std::tuple(0, std::string(" ROUTE-PLAY STOPPED "), false, true));
    EXPECT_TRUE(state().stopRequest);
}

TEST_F(RouteWindow, GarminRouteSourceStartsTrackImport) {
    state().settings.routeSource = '1';
    shell.button("Command1")->click();
    EXPECT_FALSE(control("Frame10")->isVisible());
    ASSERT_EQ(shell.dialogs.fileFilters.size(), 1u);  // the track file dialog
    ASSERT_EQ(shell.dialogs.messages.size(), 1u);     // cancelled
    EXPECT_NE(shell.dialogs.messages[0].find("NO FILE FOUND!"), std::string::npos);
    EXPECT_EQ(state().playbackActive, 0);
}

TEST_F(RouteWindow, PlaysTheWholeFileAndShowsTheLastRecord) {
    shell.prefix.writeDos(kRoute, route::test::routeFileBytes(2));
    offerPlayback();
    const std::string opening = text("Text7");
    // Before a map is loaded the radar screen's clock also writes Tijds, so
    // it is read at the moment the record is shown.
    std::string tijdsShown;
    QObject::connect(route.get(), &RouteWindowPlayback::recordShown, [&](std::int64_t k) {
        if (k == 1002) tijdsShown = text("Tijds");
    });
    ASSERT_TRUE(play(1));
    std::vector<std::int64_t> evens;
    for (std::int64_t k = 2; k <= 1002; k += 2) evens.push_back(k);
    EXPECT_EQ(shown, evens);
    EXPECT_EQ(std::pair(position.updates, position.followed), std::pair(501, 501));
    // Record 1002 as the readouts show it.
    route::RouteRecord last = route::test::recordedPoint(1002);
    route::RouteRecordTexts t = route::routeRecordTexts(last);
    EXPECT_EQ(text("Datum"), t.datum);
    EXPECT_EQ(tijdsShown, t.tijds);
    // The speed: 1002 % 200, stored in km/h, shown as stored.
    test::expectReadouts(*shell.window, {{"Latid", t.latid},
                                         {"Longi", t.longi},
                                         {"NSText", "N"},
                                         {"Koers", "282\xB0"},
                                         {"Windr", " W"},
                                         {"Speed", "2"},
                                         {"Smode", "kmh"}});
    // "  Zoeken klaar!" came and went; the opening moment is back in Text7.
    EXPECT_EQ(text("Text7"), opening);
    EXPECT_EQ(progress(), 0);
    EXPECT_TRUE(control("Frame10")->isVisible());  // offered, finished

    // PLAY again starts over from the beginning.
    shown.clear();
    state().playbackActive = 1;
    ASSERT_TRUE(play(3));
    EXPECT_EQ(shown.front(), 8);
    EXPECT_EQ(shown.size(), 125u);  // every 8th of the 1003 records from 1
}

TEST_F(RouteWindow, EndTextStaysWhileTheWindowKeepsWorking) {
    RouteWindowPlayback::setEndTextDuration(std::chrono::milliseconds(300));
    offerPlayback();
    bool sawText = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] { sawText |= text("Text7") == "  Geen Routedata!"; });
    poll.start(10);
    // No route file at all: it plays as empty and is not created.
    ASSERT_TRUE(play(1));
    EXPECT_TRUE(sawText);
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(shell.prefix.paths().exists(kRoute));
}

TEST_F(RouteWindow, StopDuringPlaybackEndsItThroughTheStopRequest) {
    shell.prefix.writeDos(kRoute, route::test::routeFileBytes(2));
    offerPlayback();
    EXPECT_TRUE(play(1, 100, [this] { shell.button("cmdQuit")->click(); }));
    EXPECT_TRUE(playingAfterClick);  // PLAY returns at once; the records follow
    ASSERT_FALSE(shown.empty());
    EXPECT_GE(shown.back(), 100);
    EXPECT_LE(shown.back(), 104);
    EXPECT_EQ(panel(), std::tuple(0, std::string(" ROUTE-PLAY STOPPED "), false, true));
    EXPECT_FALSE(shell.window->programEnded());
}

TEST_F(RouteWindow, MovingAStartMomentBarEndsThePlaybackButKeepsThePanel) {
    shell.prefix.writeDos(kRoute, route::test::routeFileBytes(2));
    offerPlayback();
    EXPECT_FALSE(play(1, 50, [this] { shell.control<QScrollBar>("HScroll2")->setValue(5); }));
    EXPECT_FALSE(route->playing());
    ASSERT_FALSE(shown.empty());
    EXPECT_LE(shown.back(), 54);
    EXPECT_EQ(state().playbackActive, 1);  // still offered: PLAY starts over
    EXPECT_TRUE(control("Frame10")->isVisible());
}

TEST_F(RouteWindow, StartMomentBarsChooseWhereSearchModeLands) {
    // Records one second apart, the last one 200 seconds ago.
    const double base = static_cast<double>(route::routeSecondsNow()) - 1203;
    shell.prefix.writeDos(kRoute, route::test::routeFileBytes(2, base));
    offerPlayback();
    auto* hours = shell.control<QScrollBar>("HScroll1");
    auto* minutes = shell.control<QScrollBar>("HScroll2");
    // Sixty minutes carry into the hours bar.
    minutes->setValue(60);
    EXPECT_EQ(minutes->value(), 0);
    EXPECT_EQ(hours->value(), 1);
    EXPECT_NEAR(route->startThreshold(), static_cast<double>(route::routeSecondsNow() - 3600), 2);
    route::LocalDateTime t = route::routeDateTimeOf(route->startThreshold());
    char expected[32];
    std::snprintf(expected, sizeof expected, "%02d-%d-%d %02d:%02d:%02d  ", t.day, t.month, t.year, t.hour, t.minute,
                  t.second);
    EXPECT_EQ(text("Text7"), expected);

    // Ten minutes back: the first of 1, 201, 401, ... at or after that
    // moment (record 603 lies 600 seconds before now) is 801.
    hours->setValue(0);
    minutes->setValue(10);
    EXPECT_TRUE(state().stopRequest);
    const std::string tenMinutesBack = text("Text7");
    ASSERT_TRUE(play(0));
    EXPECT_EQ(shown, std::vector<std::int64_t>{801});
    EXPECT_EQ(progress(), 100);
    EXPECT_EQ(text("Text7"), tenMinutesBack);  // search mode ends without an end text

    // Both bars back at 0: the start moment is now, after the last record.
    shown.clear();
    minutes->setValue(0);
    state().playbackActive = 1;
    ASSERT_TRUE(play(1));
    EXPECT_TRUE(shown.empty());
}

TEST_F(RouteWindow, ShownRecordsKeepTheirPaceAndStopEndsThePlaybackInAPause) {
    // On the system's clock this time.
    route = std::make_unique<RouteWindowPlayback>(routePlaybackLinks(*shell.window), tracks.get(), &position);
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> at;
    QObject::connect(route.get(), &RouteWindowPlayback::recordShown, [&](std::int64_t) {
        at.push_back(clock.elapsed());
        if (at.size() == 3) QTimer::singleShot(30, [this] { shell.button("cmdQuit")->click(); });
    });
    shell.prefix.writeDos(kRoute, route::test::routeFileBytes(1));
    offerPlayback();
    EXPECT_TRUE(play(3));  // every 8th record: 62 of them unless stopped
    ASSERT_EQ(at.size(), 3u);
    EXPECT_GE(at[1] - at[0], 100);
    EXPECT_GE(at[2] - at[1], 100);
    EXPECT_EQ(shell.window->status(), " ROUTE-PLAY STOPPED ");
}

}  // namespace
}  // namespace tarvok
