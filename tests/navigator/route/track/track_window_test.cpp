#include <gtest/gtest.h>

#include <QEventLoop>
#include <QSlider>
#include <QTimer>

#include "common/text.h"
#include "navigator/navigator_windows.h"
#include "navigator/route/track/track_window.h"
#include "tests/navigator/route/recording_position_calls.h"
#include "tests/navigator/route/track/track_test_lines.h"
#include "tests/navigator/shell/window_fixture.h"
#include "tests/support/fifo_guard.h"
#include "tests/support/playback_clocks.h"
#include "tests/support/readouts.h"

namespace tarvok {
namespace {

struct TrackWindow : ::testing::Test {
    test::ShellWindow shell;
    test::RecordingPositionCalls position;
    test::UnpacedPlaybackClock clock;
    std::unique_ptr<TrackWindowImport> import;

    void SetUp() override {
        shell.open();
        // A stand-in for UpdatePosition: every point 10 pixels further east.
        position.step = 10;
        import = std::make_unique<TrackWindowImport>(trackImportLinks(*shell.window), &position, clock);
    }
    NavigatorState& state() { return shell.window->state(); }
    bool runToEnd() {
        if (!import->playback().running()) return true;
        QEventLoop loop;
        QObject::connect(&import->playback(), &TrackPlayback::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        loop.exec();
        return !import->playback().running();
    }
};

TEST_F(TrackWindow, CancelledDialogClearsTheFlag) {
    state().navigationActive = 1;
    import->ImportTrack();
    ASSERT_EQ(shell.dialogs.messages.size(), 1u);
    EXPECT_NE(shell.dialogs.messages[0].find("NO FILE FOUND!"), std::string::npos);
    EXPECT_EQ(state().playbackActive, 0);
    EXPECT_EQ(state().navigationActive, 0);
    EXPECT_EQ(shell.window->status(), " SELECT TRACK-FILE");
}

TEST_F(TrackWindow, APipeNamedLikeATrackIsToldAsNotAFile) {
    test::FifoGuard pipe(shell.prefix.root() / "pipe.trk");
    shell.dialogs.fileAnswers.push_back(pipe.path().string());
    import->ImportTrack();
    EXPECT_FALSE(pipe.released()) << "the import waited on the pipe";
    ASSERT_EQ(shell.dialogs.messages.size(), 1u);
    EXPECT_NE(shell.dialogs.messages[0].find("FILE NOT READABLE!"), std::string::npos);
    EXPECT_NE(shell.dialogs.messages[0].find("pipe.trk is not a file"), std::string::npos) << shell.dialogs.messages[0];
    EXPECT_EQ(state().playbackActive, 0);
}

TEST_F(TrackWindow, PointsFillTheReadouts) {
    const auto file = shell.prefix.root() / "walk.trk";
    test::writeFile(file, "H\r" + test::trkLine("N5213.12345", "E00454.12345", "23-MAR-94", "12:34:56") +
                              test::trkLine("s5213.12345", "E00454.12345", "23-MAR-94", "12:34:57"));
    shell.dialogs.fileAnswers.push_back(file.string());
    import->ImportTrack();
    EXPECT_EQ(state().playbackActive, 1);
    EXPECT_EQ(shell.window->status(), " SHOW DRIVEN ROUTE");
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(position.updates, 2);
    EXPECT_EQ(position.followed, 2);
    // NSText is upper-cased by the box itself; the course is eastward.
    test::expectReadouts(*shell.window, {{"Tijds", "12:34:57"},
                                         {"Datum", "23 MAR'94"},
                                         {"NSText", "S"},
                                         {"Latid", "52,2187241666667"},
                                         {"EWText", "E"},
                                         {"Longi", "4,9020575"},
                                         {"Koers", "090"},
                                         {"Windr", " O "},
                                         {"Speed", "000"},
                                         {"Smode", "End"}});
    EXPECT_EQ(shell.window->status(), " ROUTE-PLAY READY ");
    EXPECT_EQ(state().playbackActive, 0);
}

TEST_F(TrackWindow, StopButtonEndsTheImport) {
    std::string track = "H\r";
    for (int i = 0; i < 20000; ++i) track += test::trkLine();
    const auto file = shell.prefix.root() / "long.txt";
    test::writeFile(file, track);
    shell.dialogs.fileAnswers.push_back(file.string());
    import->ImportTrack();
    QTimer::singleShot(0, [this] { shell.button("cmdQuit")->click(); });
    ASSERT_TRUE(runToEnd());
    EXPECT_LT(position.updates, 20000);
    EXPECT_EQ(shell.window->status(), " ROUTE-PLAY STOPPED ");
    EXPECT_EQ(state().playbackActive, 0);
    EXPECT_FALSE(shell.window->programEnded());
}

TEST_F(TrackWindow, ThinningSliderShowsItsValue) {
    auto* rou1 = shell.control<QSlider>("rou1");
    ASSERT_TRUE(rou1);
    rou1->setValue(3);
    EXPECT_EQ(shell.window->status(), " TOON OM DE 3 PTN.");
    rou1->setValue(0);
    EXPECT_EQ(shell.window->status(), " TOON ELK ROUTEPUNT");
}

}  // namespace
}  // namespace tarvok
