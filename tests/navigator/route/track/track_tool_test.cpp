#include <gtest/gtest.h>

#include "tests/navigator/route/track/track_test_lines.h"
#include "tests/support/fifo_guard.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_prefix.h"

namespace tarvok {
namespace {

using test::ProgramRun;

ProgramRun runTool(const QStringList& args) { return test::runTool(QStringList{"track"} + args); }

TEST(TrackTool, PrintsThePointsAsShown) {
    test::TempPrefix tmp;
    const auto file = tmp.root() / "drive.trk";
    test::writeFile(file, "H  header\r" + test::trkLine() + test::trkLine("S0130.00000", "W00200.00000"));
    ProgramRun r = runTool({QString::fromStdString(file.string())});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "Tijds\tDatum\tNSText\tLatid\tEWText\tLongi\n"
              "12:34:56\t23 MAR'94\tN\t52,2187241666667\tE\t4,9020575\n"
              "12:34:56\t23 MAR'94\tS\t1,5\tW\t2\n");
    EXPECT_NE(r.err.find("3 lines, 2 points shown"), std::string::npos) << r.err;

    r = runTool({QString::fromStdString(file.string()), "--thin", "3"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("3 lines, 1 points shown"), std::string::npos) << r.err;

    const auto bad = tmp.root() / "bad.gpx";
    test::writeFile(bad, "<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"></trkseg>");
    r = runTool({QString::fromStdString(bad.string())});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("line 1"), std::string::npos) << r.err;

    EXPECT_EQ(runTool({QString::fromStdString((tmp.root() / "none.trk").string())}).exitCode, 1);
    EXPECT_EQ(runTool({}).exitCode, 2);
}

TEST(TrackTool, APipeNamedLikeATrackIsRefusedAtOnce) {
    test::TempPrefix tmp;
    std::filesystem::create_directories(tmp.root());
    for (const char* name : {"pipe.trk", "pipe.gpx"}) {
        test::FifoGuard pipe(tmp.root() / name);
        const ProgramRun r = runTool({QString::fromStdString(pipe.path().string())});
        EXPECT_FALSE(pipe.released()) << name << ": the tool waited on the pipe";
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find(std::string(name) + " is not a file"), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace tarvok
