// The demonstration maps and drive as the build made them, read back the way
// the navigator reads them.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <filesystem>

#include "common/settings.h"
#include "common/text.h"
#include "demo/demo_area.h"
#include "demo/demo_files.h"
#include "demo/map_painter.h"
#include "navigator/gps/nmea_sentence.h"
#include "navigator/map/bmp_reader.h"
#include "navigator/map/map_calibration.h"
#include "navigator/map/map_database.h"
#include "platform/provision.h"
#include "tests/support/temp_prefix.h"

namespace fs = std::filesystem;

namespace tarvok::demo {
namespace {

const fs::path kMaps = TARVOK_TEST_MAP_DIR;

bool inside(const MapSheet& s, GeoPoint p) {
    return p.lat < s.top && p.lat > s.bottom && p.lon > s.left && p.lon < s.right;
}

TEST(DemoCornerFiles, CoordinatesAreWrittenInDegreesAndHundredthsOfMinutes) {
    for (auto [degrees, text] : {std::pair{51.85, "515100N"}, {52.0, "520000N"}, {-33.505, "333030S"}})
        EXPECT_EQ(cornerLatitude(degrees), text);
    for (auto [degrees, text] : {std::pair{4.15, "0040900E"}, {-118.25, "1181500W"}, {0.0005, "0000003E"}})
        EXPECT_EQ(cornerLongitude(degrees), text);
}

TEST(DemoMaps, EachBitmapReadsBackToItsIntendedEdgesAndSize) {
    for (const MapSheet& s : demoArea().sheets) {
        SCOPED_TRACE(s.fileName);
        const fs::path bmp = kMaps / s.fileName;
        EXPECT_LT(fs::file_size(bmp), 4u << 20);  // a few MB at most
        QImage image;
        ASSERT_EQ(map::readBmp(QString::fromStdString(bmp.string()), image), map::BmpRead::Done);
        ASSERT_EQ(image.size(), QSize(s.width, s.height));

        const std::string text = test::readFile(fs::path(bmp).replace_extension(".des"));
        map::CornerCoordinates file = map::parseCornerCoordinates(text);
        EXPECT_EQ(map::mapNameOf(file), s.title);
        map::MapEdges edges;
        map::CalibrationResult r = map::calibrateEdges(file, image.width(), image.height(), edges);
        ASSERT_TRUE(r.complete && r.pointsSpanMap);
        EXPECT_EQ(std::string{r.ns} + r.ew, "NE");
        for (auto [edge, intended] :
             {std::pair{edges.top, s.top}, {edges.bottom, s.bottom}, {edges.left, s.left}, {edges.right, s.right}})
            EXPECT_NEAR(edge, intended, 1e-9);
    }
}

TEST(DemoMaps, DetailMapsOverlapInsideTheRegionMap) {
    const auto& sheets = demoArea().sheets;
    ASSERT_EQ(sheets.size(), 3u);
    const MapSheet &region = sheets[0], &a = sheets[1], &b = sheets[2];
    for (const MapSheet* d : {&a, &b}) {
        EXPECT_TRUE(inside(region, {d->top - 1e-6, d->left + 1e-6}));
        EXPECT_TRUE(inside(region, {d->bottom + 1e-6, d->right - 1e-6}));
        EXPECT_LT(d->metresPerPixel(), region.metresPerPixel() / 2);  // really more detailed
    }
    EXPECT_TRUE(a.top > b.bottom && b.top > a.bottom && a.right > b.left && b.right > a.left);
}

// The map database of the folder, built as AUTO builds it, picks the
// detail map for a position in it and the region map elsewhere.
class FolderFiles : public map::MapFolderFiles {
public:
    explicit FolderFiles(DosPaths paths) : paths_(std::move(paths)) {}
    std::optional<std::string> readFile(const std::string& dosPath) override {
        fs::path p = paths_.toNative(dosPath);
        if (!fs::exists(p)) return std::nullopt;
        return test::readFile(p);
    }
    std::optional<std::string> readStart(const std::string& dosPath, std::size_t count) override {
        auto all = readFile(dosPath);
        if (all) all->resize(std::min(all->size(), count));
        return all;
    }
    DosPaths paths_;
};

TEST(DemoMaps, MapDatabaseFindsTheDetailMapOrTheRegionMap) {
    // As a first run provisions them: into C:\TARVOK\KAARTEN.
    test::TempPrefix tp;
    ProvisionResult p =
        provisionPrefix(tp.prefix(), kMaps.parent_path(), SettingsString::settingsProgramTemplate().bytes());
    ASSERT_TRUE(p.ok) << p.error;
    FolderFiles files(tp.paths());
    std::vector<std::string> corners;
    for (const char* n : {"DELFT.des", "DENHAAG.des", "REGIO.des"})
        corners.push_back(std::string("C:\\TARVOK\\KAARTEN\\") + n);
    map::MapDatabaseBuild build(corners, {640, 480});
    while (!build.done()) EXPECT_EQ(build.step(files), map::MapEntryOutcome::Written) << build.nextPath();
    auto records = map::decodeMapDatabase(build.content());
    ASSERT_EQ(records.size(), 3u);
    // The database runs from the detail maps to the region map, so the
    // region map is found only where no detail map holds the position.
    EXPECT_EQ(records.back().cornerFilePath, "C:\\TARVOK\\KAARTEN\\REGIO.des");
    auto find = [&](double lat, double lon) {
        map::MapSearch s = map::searchMapForPosition(records, decimalCommaText(lat), decimalCommaText(lon), "N", "E");
        return s.outcome == map::MapSearchOutcome::Found ? records[s.index].cornerFilePath.substr(18) : std::string();
    };
    EXPECT_EQ(find(52.0116, 4.3571), "DELFT.des");
    EXPECT_EQ(find(52.0780, 4.2990), "DENHAAG.des");
    EXPECT_EQ(find(51.9220, 4.4790), "REGIO.des");  // Rotterdam: only on the region map
    EXPECT_EQ(find(52.3700, 4.9000), "");           // Amsterdam: on none
}

struct Fix {
    int seconds = 0;
    GeoPoint at;
    double speedMs = 0;
    double course = 0;
};

double nmeaAngle(const std::string& field, int degreeDigits) {
    return numericValue(field.substr(0, std::size_t(degreeDigits))) +
           numericValue(field.substr(std::size_t(degreeDigits))) / 60.0;
}

std::vector<Fix> readDrive() {
    std::vector<Fix> fixes;
    const std::string log = test::readFile(kMaps / "DEMORIT.NMEA");
    std::size_t at = 0;
    while (at < log.size()) {
        std::size_t end = log.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
        if (end == std::string::npos) break;
        std::string line = log.substr(at, end - at);
        at = end + 2;
        EXPECT_EQ(gps::checkChecksum(line), gps::ChecksumState::Matches) << line;
        gps::ClassifiedLine c = gps::classifyLine(line);
        if (c.sentence.type != gps::SentenceType::RMC) continue;
        EXPECT_EQ(c.verdict, gps::LineVerdict::Process) << line;
        gps::RmcFields f = gps::rmcFields(c.sentence);
        EXPECT_EQ(f.status + f.northSouth + f.eastWest + " " + f.date, "ANE 140526") << line;
        Fix fix;
        fix.seconds = std::stoi(f.time.substr(0, 2)) * 3600 + std::stoi(f.time.substr(2, 2)) * 60 +
                      std::stoi(f.time.substr(4, 2));
        fix.at = {nmeaAngle(f.latitude, 2), nmeaAngle(f.longitude, 3)};
        fix.speedMs = numericValue(f.speedKnots) * 1852.0 / 3600.0;
        fix.course = numericValue(f.course);
        fixes.push_back(fix);
    }
    return fixes;
}

TEST(DemoDrive, SentencesAreValidOnePerSecondForAFewMinutes) {
    std::vector<Fix> fixes = readDrive();
    ASSERT_GE(fixes.size(), 180u);
    EXPECT_LE(fixes.size(), 900u);
    for (std::size_t i = 1; i < fixes.size(); ++i) EXPECT_EQ(fixes[i].seconds - fixes[i - 1].seconds, 1) << i;
    EXPECT_EQ(fixes.front().speedMs, 0);
    EXPECT_EQ(fixes.back().speedMs, 0);
    // Fields as wide as their values: speeds of one and of two integer digits.
    const std::string log = test::readFile(kMaps / "DEMORIT.NMEA");
    EXPECT_NE(log.find(",0.000,"), std::string::npos);
    EXPECT_NE(log.find("$GNGGA,"), std::string::npos);
}

TEST(DemoDrive, SpeedAndCourseMatchTheMovesAndTheMovesFollowTheRoads) {
    std::vector<Fix> fixes = readDrive();
    ASSERT_GT(fixes.size(), 2u);
    const Area& area = demoArea();
    double fastest = 0;
    for (std::size_t i = 1; i < fixes.size(); ++i) {
        SCOPED_TRACE(i);
        const Fix &a = fixes[i - 1], &b = fixes[i];
        const double moved = distanceMetres(a.at, b.at);
        EXPECT_NEAR(moved, b.speedMs, 0.05 + 0.005 * b.speedMs);
        EXPECT_LE(std::fabs(b.speedMs - a.speedMs), 3.0);  // below 0.3 g, also through turns
        if (moved > 5) {
            double diff = std::fabs(bearingDegrees(a.at, b.at) - b.course);
            EXPECT_LT(std::min(diff, 360 - diff), 0.5);
            // No jerk of course: turns are driven, not jumped.
            double turn = std::fabs(a.course - b.course);
            if (a.speedMs > 0) { EXPECT_LT(std::min(turn, 360 - turn), 45); }
        }
        fastest = std::max(fastest, b.speedMs * 3.6);
        double nearest = 1e9;
        for (const Road& r : area.roads) nearest = std::min(nearest, distanceToPolyline(b.at, r.points));
        EXPECT_LT(nearest, 12.0);  // turns are rounded off inside the road's corner
        EXPECT_TRUE(inside(area.sheets[0], b.at));
    }
    EXPECT_GT(fastest, 90);  // a stretch of motorway
    EXPECT_LE(fastest, 100.5);
    // From the Delft map onto the Den Haag map.
    EXPECT_TRUE(inside(area.sheets[1], fixes.front().at));
    EXPECT_FALSE(inside(area.sheets[2], fixes.front().at));
    EXPECT_TRUE(inside(area.sheets[2], fixes.back().at));
    EXPECT_FALSE(inside(area.sheets[1], fixes.back().at));
}

// On the drawn bitmaps the drive runs on road pixels.
TEST(DemoDrive, DriveRunsOverDrawnRoadsOnTheDetailMaps) {
    std::vector<Fix> fixes = readDrive();
    auto isRoad = [](QRgb c) {
        for (const QColor& road : {kMotorwayColour, kMainRoadColour, kLocalRoadColour})
            if (std::abs(qRed(c) - road.red()) + std::abs(qGreen(c) - road.green()) + std::abs(qBlue(c) - road.blue()) <
                30)
                return true;
        return false;
    };
    for (std::size_t s = 1; s < 3; ++s) {
        const MapSheet& sheet = demoArea().sheets[s];
        QImage image;
        ASSERT_EQ(map::readBmp(QString::fromStdString((kMaps / sheet.fileName).string()), image), map::BmpRead::Done);
        int onSheet = 0, onRoad = 0;
        for (const Fix& f : fixes) {
            if (!inside(sheet, f.at)) continue;
            ++onSheet;
            QPoint px = sheetPixel(sheet, f.at).toPoint();
            bool road = false;
            for (int dy = -1; dy <= 1 && !road; ++dy)
                for (int dx = -1; dx <= 1 && !road; ++dx)
                    if (image.rect().contains(px + QPoint(dx, dy))) road = isRoad(image.pixel(px + QPoint(dx, dy)));
            onRoad += road;
        }
        EXPECT_GT(onSheet, 60) << sheet.fileName;
        EXPECT_GE(onRoad, onSheet * 97 / 100) << sheet.fileName;
    }
}

TEST(DemoDrive, SimulationIsTheSameEveryTime) {
    auto a = driveSentences(simulateDrive(demoDrive()), 83000, "140526");
    auto b = driveSentences(simulateDrive(demoDrive()), 83000, "140526");
    EXPECT_EQ(a, b);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a.front().substr(0, 17), "$GNRMC,083000.00,");
    EXPECT_EQ(withChecksum("GPRMC,1"), "$GPRMC,1*56");
}

}  // namespace
}  // namespace tarvok::demo
