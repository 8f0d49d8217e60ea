#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "navigator/route/route_gpx.h"
#include "navigator/route/track/track_gpx.h"
#include "tests/navigator/route/route_test_files.h"
#include "tests/support/program_run.h"

namespace tarvok::route {
namespace {

using tarvok::test::TempPrefix;

// Central European time with its summer time, as a POSIX rule (no zone
// database needed): winter UTC+1, summer UTC+2.
constexpr const char* kZone = "CET-1CEST,M3.5.0,M10.5.0/3";

// Sets TZ for the lifetime of the object.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ")) previous_ = old, hadPrevious_ = true;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ZoneScope() {
        if (hadPrevious_) ::setenv("TZ", previous_.c_str(), 1);
        else ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::string previous_;
    bool hadPrevious_ = false;
};

using tarvok::test::ProgramRun;

// A program run in the zone above.
ProgramRun run(const QString& program, const QStringList& args) {
    return tarvok::test::runProgram(program, args, {.env = {{"TZ", kZone}}});
}

ProgramRun tool(const QStringList& args) { return run(QCoreApplication::applicationDirPath() + "/tarvok-tool", args); }

RouteRecord at(LocalDateTime t, char ns, double lat, char ew, double lon) {
    RouteRecord r = test::recordedPoint(1);
    r.timeStamp = static_cast<double>(routeSecondsOf(t));
    r.latHemisphere = ns;
    r.latitude = lat;
    r.lonHemisphere = ew;
    r.longitude = lon;
    return r;
}

std::string recordBytes(const RouteRecord& r) {
    RouteRecordBytes b = encodeRouteRecord(r);
    return std::string(reinterpret_cast<const char*>(b.data()), b.size());
}

// Two blocks: a winter and a summer point south-west, then a garbage
// position, a point north-east; a torn record at the end.
std::string sampleFile() {
    const std::string filler(kRouteRecordSize, '\0');
    return filler + recordBytes(at({2026, 1, 15, 12, 0, 0}, 'Z', 33.5, 'W', 70.25)) +
           recordBytes(at({2026, 7, 1, 12, 0, 0}, 'S', 33.5001, 'W', 70.2501)) + filler +
           recordBytes(at({2026, 7, 1, 13, 0, 0}, 'N', 400, 'E', 1)) +
           recordBytes(at({2026, 7, 1, 14, 30, 5}, 'N', 52.25, 'E', 4.5)) + std::string(12, 'x');
}

TEST(RouteTool, OneLinePerRecord) {
    TempPrefix tp;
    const auto file = tp.root() / "ROUTE1.TVK";
    tarvok::test::writeFile(file, sampleFile());
    ProgramRun r = tool({"route", QString::fromStdString(file.string())});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::istringstream lines(r.out);
    std::string header, first, second;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(header, "index\ttype\tlocal time\tlatitude\tlongitude\tspeed\tunit\tcourse");
    EXPECT_EQ(first, "0\tfiller\t01-01-1995 00:00:00\t? 0\t? 0\t0\t?\t0");
    EXPECT_EQ(second, "1\tM\t15-01-2026 12:00:00\tZ 33,5\tW 70,25\t1\tkmh\t1");
    EXPECT_NE(r.err.find("6 records, 12 bytes of a torn last record left out"), std::string::npos) << r.err;

    EXPECT_EQ(tool({"route", QString::fromStdString((tp.root() / "none.tvk").string())}).exitCode, 1);
    EXPECT_EQ(tool({"route"}).exitCode, 2);
}

TEST(RouteGpx, ValidGpxOneSegmentPerBlockReadableByTheTrackReader) {
    TempPrefix tp;
    const auto file = tp.root() / "ROUTE1.TVK";
    tarvok::test::writeFile(file, sampleFile());
    ProgramRun r = tool({"gpx", QString::fromStdString(file.string())});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("2 track segments, 3 points, 1 records without a valid position left out"), std::string::npos)
        << r.err;
    // Signed coordinates, UTC times (winter UTC+1, summer UTC+2), fillers
    // and the garbage position left out.
    EXPECT_NE(r.out.find("<trkseg>\n      <trkpt lat=\"-33.5\" lon=\"-70.25\"><time>2026-01-15T11:00:00Z</time>"
                         "</trkpt>\n      <trkpt lat=\"-33.5001\" lon=\"-70.2501\"><time>2026-07-01T10:00:00Z"
                         "</time></trkpt>\n    </trkseg>\n    <trkseg>\n      <trkpt lat=\"52.25\" lon=\"4.5\">"
                         "<time>2026-07-01T12:30:05Z</time></trkpt>\n    </trkseg>"),
              std::string::npos)
        << r.out;

    const auto gpx = tp.root() / "route.gpx";
    tarvok::test::writeFile(gpx, r.out);
    ProgramRun lint = run(
        "xmllint", {"--noout", "--schema", TARVOK_ROUTE_TEST_DATA "/gpx.xsd", QString::fromStdString(gpx.string())});
    EXPECT_EQ(lint.exitCode, 0) << "xmllint (libxml2-utils) must be installed: " << lint.err;
    EXPECT_NE(lint.err.find("validates"), std::string::npos) << lint.err;

    // The schema is really applied: a latitude beyond 90 fails.
    std::string bad = r.out;
    bad.replace(bad.find("lat=\"52.25\""), 11, "lat=\"95.25\"");
    tarvok::test::writeFile(gpx, bad);
    EXPECT_NE(
        run("xmllint", {"--noout", "--schema", TARVOK_ROUTE_TEST_DATA "/gpx.xsd", QString::fromStdString(gpx.string())})
            .exitCode,
        0);

    // The track import reads the export back point by point.
    std::istringstream in(r.out);
    GpxTrackSource source(in, 0);
    std::vector<TrackPointTexts> points;
    while (source.advance())
        if (auto p = source.point()) points.push_back(*p);
    EXPECT_EQ(source.error(), "");
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].nsText, "S");
    EXPECT_EQ(points[0].ewText, "W");
    EXPECT_EQ(points[0].latid, "33,5");
    EXPECT_EQ(points[0].longi, "70,25");
    EXPECT_EQ(points[0].tijds, "11:00:00");
    EXPECT_EQ(points[2].nsText, "N");
    EXPECT_EQ(points[2].longi, "4,5");
    EXPECT_EQ(points[2].tijds, "12:30:05");
}

TEST(RouteGpx, EmptyFileAndTexts) {
    TempPrefix tp;
    std::ostringstream out;
    GpxExportCounts c = writeRouteGpx(RouteFileReader(tp.root() / "missing"), out);
    EXPECT_EQ(c.points, 0);
    EXPECT_EQ(out.str().find("<trk>"), std::string::npos);
    EXPECT_NE(out.str().find("</gpx>"), std::string::npos);

    EXPECT_EQ(gpxDegreesText(52.083333333333), "52.08333333");
    EXPECT_EQ(gpxDegreesText(-0.0), "0");
    EXPECT_EQ(gpxDegreesText(4), "4");
    ZoneScope zone(kZone);
    EXPECT_EQ(gpxTimeText(static_cast<double>(routeSecondsOf({1995, 1, 1, 0, 0, 0}))), "1994-12-31T23:00:00Z");
    EXPECT_EQ(gpxTimeText(-5), "");
    EXPECT_EQ(gpxTimeText(1e300), "");
}

}  // namespace
}  // namespace tarvok::route
