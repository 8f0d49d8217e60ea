#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <tuple>
#include <utility>

#include "navigator/route/track/track_playback.h"
#include "platform/dialogs.h"
#include "tests/navigator/route/track/track_test_lines.h"
#include "tests/support/playback_clocks.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_prefix.h"

namespace tarvok {
namespace {

// The main window as the import sees it: flags, boxes and calls recorded.
class FakeHost : public TrackPlaybackHost, public gps::PositionCalls {
public:
    bool playback = false, navigation = true, stop = false, english = true, preview = false;
    char unit = '1';
    int rou1 = 0;
    std::string status, speed = "123", smode = "kmh", koers, windr;
    std::vector<TrackPointTexts> points;
    std::vector<int> followed;  // the pixel row of every followPosition
    int raised = 0;
    std::int32_t x = 0, y = 0;
    std::function<void()> onPoint;  // runs inside showPoint

    void setPlaybackActive(bool on) override { playback = on; }
    bool playbackActive() const override { return playback; }
    void setNavigationActive(bool on) override { navigation = on; }
    void setStopRequest(bool on) override { stop = on; }
    bool stopRequest() const override { return stop; }
    Language language() const override { return english ? Language::English : Language::Dutch; }
    char speedUnit() const override { return unit; }
    int hourOffset() const override { return 0; }
    int thinning() const override { return rou1; }
    void setStatus(const std::string& text) override { status = text; }
    void showInstrumentPanel() override {}
    void showPoint(const TrackPointTexts& point) override {
        points.push_back(point);
        if (onPoint) onPoint();
    }
    // Every point 100 pixels further up the map than the one before.
    gps::PositionOutcome UpdatePosition() override {
        y = -static_cast<std::int32_t>(points.size()) * 100;
        return gps::PositionOutcome::OnMap;
    }
    map::PixelPosition positionPixel() const override { return {x, y}; }
    void showCourse(const TrackCourseTexts& c) override {
        koers = c.koers;
        windr = c.windr;
    }
    std::vector<std::string> speeds;  // every Speed and Smode shown
    void showSpeed(const std::string& s, const std::string* mode) override {
        speeds.push_back(s + (mode ? " " + *mode : ""));
        speed = s;
        if (mode) smode = *mode;
    }
    void setKeyPreview(bool on) override { preview = on; }
    void followPosition() override { followed.push_back(y); }
    void raiseWindow() override { ++raised; }
};

struct Fixture : ::testing::Test {
    test::TempPrefix tmp;
    test::RecordingDialogs dialogs;
    FakeHost host;
    test::UnpacedPlaybackClock clock;
    TrackPlayback playback{host, &host, dialogs, clock};

    std::string write(const std::string& name, const std::string& bytes) {
        const auto p = tmp.root() / name;
        test::writeFile(p, bytes);
        return p.string();
    }
    // Imports the file `name` with `bytes` to its end.
    bool import(const std::string& name, const std::string& bytes) {
        dialogs.fileAnswers.push_back(write(name, bytes));
        playback.ImportTrack();
        return runToEnd();
    }
    // Runs the event loop until the import has finished (bounded).
    bool runToEnd() {
        if (!playback.running()) return true;
        QEventLoop loop;
        QObject::connect(&playback, &TrackPlayback::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        loop.exec();
        return !playback.running();
    }
};

using TrackPlaybackTest = Fixture;

// Three points northwards on 4 E, 36 seconds apart but for the last.
const std::string kThreePoints = test::trkLine("N5200.00000", "E00400.00000", "23-MAR-94", "12:00:00") +
                                 test::trkLine("N5201.00000", "E00400.00000", "23-MAR-94", "12:00:36") +
                                 test::trkLine("N5202.00000", "E00400.00000", "23-MAR-94", "12:00:36");

TEST_F(TrackPlaybackTest, CancelledDialogSaysNoFileFound) {
    playback.ImportTrack();
    EXPECT_FALSE(playback.running());
    ASSERT_EQ(dialogs.fileFilters.size(), 1u);
    EXPECT_EQ(dialogs.fileFilters[0],
              "Track files (*.trk)|*.trk|Text files (*.txt)|*.txt|GPX files (*.gpx)|*.gpx|All Files (*.*)|*.*");
    EXPECT_EQ(host.status, " SELECT TRACK-FILE");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], joinMessageLines({"WARNING!", "", "NO FILE FOUND!", "", "You must enter or select a",
                                                     "valid bitmap file.", "", "Please try again!"}));
    EXPECT_EQ(std::tuple(dialogs.beeps, host.playback, host.navigation), std::tuple(1, false, false));

    // A file that is not there, in Dutch.
    host.english = false;
    dialogs.fileAnswers.push_back((tmp.root() / "gone.trk").string());
    playback.ImportTrack();
    EXPECT_EQ(host.status, " KIES TRACK-BESTAND");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[1].find("BESTAND NIET GEVONDEN!"), std::string::npos);
    EXPECT_FALSE(host.playback);
}

TEST_F(TrackPlaybackTest, ShowsEveryPointThenTheEnd) {
    dialogs.fileAnswers.push_back(write("drive.trk", "H  header\r" + kThreePoints));
    playback.ImportTrack();
    EXPECT_EQ(std::tuple(host.playback, host.stop, host.status), std::tuple(true, false, " SHOW DRIVEN ROUTE"));
    EXPECT_TRUE(host.points.empty());  // the points come from the event loop
    ASSERT_TRUE(runToEnd());

    ASSERT_EQ(host.points.size(), 3u);
    EXPECT_EQ(host.points[1].latid, "52,0166666666667");
    EXPECT_EQ(host.koers + host.windr, "000 N ");  // straight up the map: north
    EXPECT_EQ(host.followed, (std::vector<int>{-100, -200, -300}));
    EXPECT_EQ(host.raised, 3);
    EXPECT_TRUE(host.preview);
    // The end: "000" and "End", the flag cleared.
    EXPECT_EQ(std::tuple(host.speed, host.smode, host.status, host.playback),
              std::tuple("000", "End", " ROUTE-PLAY READY ", false));
    EXPECT_TRUE(dialogs.messages.empty());
    // 100 pixels in 36 seconds: 10 km/h, kept for the next file.
    EXPECT_EQ(std::pair(playback.motion().previousTime, playback.motion().pixelDistance),
              std::pair(12 * 3600 + 36, 100));
}

TEST_F(TrackPlaybackTest, SpeedBetweenPointsAndAcrossFiles) {
    ASSERT_TRUE(import("a.txt", ""));  // an empty file: the end at once
    EXPECT_EQ(host.speeds, std::vector<std::string>{"000 End"});
    EXPECT_EQ(host.status, " ROUTE-PLAY READY ");

    host.speeds.clear();
    ASSERT_TRUE(import("a.trk", "\r" + kThreePoints));
    // From 00:00:00 to noon; 100 pixels in 36 s = 10 km/h; the same time
    // again: "000" and the unit kept.
    EXPECT_EQ(host.speeds, (std::vector<std::string>{"000 kmh", "010 kmh", "000", "000 End"}));

    // The next file goes on from the last point: 100 pixels in 36 s, in mph.
    host.speeds.clear();
    host.unit = '2';
    ASSERT_TRUE(import("b.trk", "\r" + test::trkLine("N5203.00000", "E00400.00000", "23-MAR-94", "12:01:12")));
    EXPECT_EQ(host.speeds, (std::vector<std::string>{"006 mph", "000 End"}));
}

// A long track of `lines` lines: a header, then a full point line as every
// 1000th line, bare "T" lines (points with the zero texts) between.
std::string longTrack(int lines) {
    std::string t;
    t.reserve(static_cast<std::size_t>(lines) * 3 + 50000);
    t += "H  header\r";
    for (int i = 1; i < lines; ++i) {
        if (i % 1000 == 999) t += test::trkLine("N5200.00000", "E00400.00000", "23-MAR-94", "12:00:00");
        else t += "\nT\r";
    }
    return t;
}

TEST_F(TrackPlaybackTest, MillionLinesLeaveTheWindowAnswering) {
    dialogs.fileAnswers.push_back(write("long.trk", longTrack(1000000)));
    host.rou1 = 1000;
    int turns = 0;  // event-loop turns while the import runs
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] { ++turns; });
    playback.ImportTrack();
    probe.start();
    ASSERT_TRUE(runToEnd());
    probe.stop();
    // Every 1000th line is looked at, and each of them is a full point.
    ASSERT_EQ(host.points.size(), 1000u);
    EXPECT_EQ(host.points.back().latid, "52");
    EXPECT_EQ(host.points.back().tijds, "12:00:00");
    EXPECT_GE(turns, 1000);  // the window ran between every two points
    EXPECT_EQ(host.status, " ROUTE-PLAY READY ");
}

TEST_F(TrackPlaybackTest, StopRequestEndsTheImport) {
    host.rou1 = 1;
    // STOP, as the window does it between two points: flag cleared, its text.
    host.onPoint = [&] {
        if (host.points.size() == 3)
            QTimer::singleShot(0, [&] {
                host.playback = false;
                host.stop = true;
                host.status = " ROUTE-PLAY STOPPED ";
            });
    };
    ASSERT_TRUE(import("long.trk", longTrack(100000)));
    EXPECT_LE(host.points.size(), 4u);
    EXPECT_EQ(std::tuple(host.status, host.playback), std::tuple(" ROUTE-PLAY STOPPED ", false));
    EXPECT_NE(host.smode, "End");

    // A bare stop request (the flag left on): the status line is cleared.
    host.points.clear();
    host.onPoint = [&] {
        if (host.points.size() == 2) QTimer::singleShot(0, [&] { host.stop = true; });
    };
    ASSERT_TRUE(import("long2.trk", longTrack(100000)));
    EXPECT_EQ(std::tuple(host.status, host.playback), std::tuple("", false));
}

TEST_F(TrackPlaybackTest, MalformedGpxStopsWithAMessage) {
    ASSERT_TRUE(import("bad.GPX",
                       "<gpx><trk><trkseg><trkpt lat=\"52.5\" lon=\"4.5\"><time>2024-05-01T10:00:00Z"
                       "</time></trkpt><trkpt lat=\"52.6\" lon=\"4.5\"></trkseg></gpx>"));
    ASSERT_EQ(host.points.size(), 1u);
    EXPECT_EQ(host.points[0].latid, "52,5");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    for (const char* part : {"FILE NOT READABLE!", "line 1"})
        EXPECT_NE(dialogs.messages[0].find(part), std::string::npos) << dialogs.messages[0];
    EXPECT_EQ(std::tuple(dialogs.beeps, host.playback), std::tuple(1, false));
}

}  // namespace
}  // namespace tarvok
