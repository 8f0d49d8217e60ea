#include "navigator/map/map_calibration.h"

#include <array>
#include <cmath>
#include <set>
#include <tuple>

#include <gtest/gtest.h>

namespace tarvok::map {
namespace {

std::string cornerFile(const std::string& a, const std::string& b, const std::string& name = "Delft") {
    return name + "\r\nfree\r\nfree\r\n" + a + "\r\n" + b + "\r\n";
}

MapEdges calibrate(const std::string& text, int w, int h, CalibrationResult* out = nullptr, MapEdges start = {}) {
    MapEdges e = start;
    CalibrationResult r = calibrateEdges(parseCornerCoordinates(text), w, h, e);
    if (out) *out = r;
    return e;
}

// The four edges in degrees, to 1e-12.
void expectEdges(const MapEdges& e, double top, double bottom, double left, double right) {
    EXPECT_NEAR(e.top, top, 1e-12);
    EXPECT_NEAR(e.bottom, bottom, 1e-12);
    EXPECT_NEAR(e.left, left, 1e-12);
    EXPECT_NEAR(e.right, right, 1e-12);
}

TEST(CornerFile, ReferencePointsOnTheCornersAreTheEdges) {
    CalibrationResult r;
    MapEdges e = calibrate(cornerFile("521000N0040000E,0,400", "522000N0043000E,600,0"), 600, 400, &r);
    EXPECT_TRUE(r.complete && r.pointsSpanMap);
    expectEdges(e, 52.0 + 2000.0 / 6000, 52.0 + 1000.0 / 6000, 4.0, 4.5);
    EXPECT_EQ(std::string{r.ns} + r.ew, "NE");
    EXPECT_EQ(std::tie(r.corners.lowerLeft, r.corners.upperRight, r.corners.lowerRight, r.corners.upperLeft),
              std::make_tuple("52\xB0"
                              "1000'N, 004\xB0"
                              "0000'E",
                              "52\xB0"
                              "2000'N, 004\xB0"
                              "3000'E",
                              "52\xB0"
                              "1000'N, 004\xB0"
                              "3000'E",
                              "52\xB0"
                              "2000'N, 004\xB0"
                              "0000'E"));
    EXPECT_EQ(mapNameOf(parseCornerCoordinates(cornerFile("", ""))), "Delft");
}

TEST(CornerFile, InnerReferencePointsAreExtendedToTheEdges) {
    // A at (100, 300), B at (500, 100) on 600 x 400, blanks around the pixels.
    CalibrationResult r;
    MapEdges e = calibrate(cornerFile("521000N0040000E, 100 , 300 ", "522000N0043000E ,500,100"), 600, 400, &r);
    ASSERT_TRUE(r.pointsSpanMap);
    EXPECT_EQ(std::pair(r.ax, r.ay), std::pair(100, 300));
    const double dLat = 1000.0 / 6000;
    expectEdges(e, 52 + 2000.0 / 6000 + 0.5 * dLat, 52 + 1000.0 / 6000 - 0.5 * dLat, 4.0 - 0.25 * 0.5,
                4.5 + 0.25 * 0.5);
}

TEST(CornerFile, SouthernAndWesternMapsGetNegativeEdgesAndIndicators) {
    // South of the equator and west of Greenwich, B (upper right) has the
    // smaller magnitudes.
    CalibrationResult r;
    MapEdges e = calibrate(cornerFile("341000S0055000W,0,400", "340000S0050000W,600,0"), 600, 400, &r);
    ASSERT_TRUE(r.complete);
    EXPECT_EQ(std::string{r.ns} + r.ew, "SW");
    expectEdges(e, -34.0, -(34 + 1000.0 / 6000), -(5 + 5000.0 / 6000), -5.0);

    // A map across the equator and the prime meridian: letters per field.
    e = calibrate(cornerFile("003000S0013000W,0,400", "003000N0013000E,600,0"), 600, 400, &r);
    expectEdges(e, 0.5, -0.5, -1.5, 1.5);
}

TEST(CornerFile, ReferencePointsSharingALineLeaveTheReferenceValues) {
    struct Case {
        const char* a;
        const char* b;
    };
    for (Case c : {Case{"521000N0040000E,0,400", "521000N0043000E,600,0"},    // same latitude
                   Case{"521000N0040000E,0,400", "522000N0040000E,600,0"},    // same longitude
                   Case{"521000N0040000E,0,400", "522000N0043000E,0,0"},      // same column
                   Case{"521000N0040000E,0,400", "522000N0043000E,600,400"},  // same row
                   Case{"521000N0040000E,7,7", "521000N0040000E,7,7"}}) {     // the same point
        CalibrationResult r;
        MapEdges e = calibrate(cornerFile(c.a, c.b), 600, 400, &r);
        EXPECT_TRUE(r.complete) << c.b;
        EXPECT_FALSE(r.pointsSpanMap) << c.b;
        EXPECT_DOUBLE_EQ(e.top, *latitudeValue(parseCornerCoordinates(cornerFile(c.a, c.b)).b.latitude));
        EXPECT_TRUE(std::isfinite(e.top) && std::isfinite(e.bottom) && std::isfinite(e.left) && std::isfinite(e.right));
    }
    EXPECT_EQ(referencePointsOnOneLineLines(Language::English).front(), "WARNING!");
    EXPECT_EQ(referencePointsOnOneLineLines(Language::Dutch).front(), "WAARSCHUWING");
}

TEST(CornerFile, NonNumericFieldStopsTheConversionWhereItStands) {
    const MapEdges before{1, 2, 3, 4};
    CalibrationResult r;
    // A's latitude starts with its letter: B's latitude (top) is already stored.
    MapEdges e = calibrate(cornerFile("N521000N0040000E,0,400", "522000N0043000E,600,0"), 600, 400, &r, before);
    EXPECT_FALSE(r.complete);
    expectEdges(e, 52 + 2000.0 / 6000, 2, 3, 4);
    EXPECT_EQ(r.ns, 0);
    EXPECT_TRUE(r.corners.lowerLeft.empty());

    // A's longitude not numeric: top, bottom and right converted, still unsigned.
    e = calibrate(cornerFile("341000SW0055000W,0,400", "340000S0050000W,600,0"), 600, 400, &r, before);
    EXPECT_FALSE(r.complete);
    expectEdges(e, 34.0, 34 + 1000.0 / 6000, 3, 5.0);

    // A non-numeric pixel field counts as 0.
    e = calibrate(cornerFile("521000N0040000E,x,400", "522000N0043000E,600,0"), 600, 400, &r);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.ax, 0);
}

TEST(CornerFile, FewerThanFiveLinesKeepTheEdgesButNameTheMap) {
    const MapEdges before{1, 2, 3, 4};
    for (std::string text : {std::string("Utrecht\r\nx\r\nx\r\n521000N0040000E,0,400\r\n"), std::string("Utrecht\r\n"),
                             std::string("Utrecht"), std::string()}) {
        CornerCoordinates c = parseCornerCoordinates(text);
        MapEdges e = before;
        CalibrationResult r = calibrateEdges(c, 600, 400, e);
        EXPECT_FALSE(r.complete);
        EXPECT_EQ(e.top, 1);
        EXPECT_EQ(e.bottom, 2);
        EXPECT_EQ(mapNameOf(c), text.empty() ? "" : "Utrecht");
    }
}

TEST(CornerFile, LinesKeepTheirEndingsAndTheLastLineNeedsNone) {
    EXPECT_EQ(splitCornerFileLines("a\r\nb\nc\r\n"), (std::array<std::string, 5>{"a\r\n", "b\n", "c\r\n", "", ""}));
    EXPECT_EQ(splitCornerFileLines("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n")[4], "5\r\n");

    // Line 5 without CR LF keeps all of B's row; so do files with LF endings.
    for (std::string text : {std::string("M\r\nx\r\nx\r\n521000N0040000E,100,300\r\n522000N0043000E,500,123"),
                             std::string("M\nx\nx\n521000N0040000E,100,300\n522000N0043000E,500,123\n")}) {
        CornerCoordinates c = parseCornerCoordinates(text);
        EXPECT_EQ(std::tie(c.a.y, c.b.y), std::make_tuple("300", "123"));
        EXPECT_EQ(mapNameOf(c), "M");
    }
}

TEST(CornerFile, FieldsAreCutInOneScan) {
    auto fields = [](const ReferencePointFields& f) { return std::tie(f.latitude, f.longitude, f.x, f.y); };
    ReferencePointFields f = cutReferencePoint("521234N0041234E junk,12,34\r\n");
    EXPECT_EQ(fields(f), std::make_tuple("521234N", "0041234E", "12", "34"));
    EXPECT_NEAR(*latitudeValue(f.latitude), 52 + 1234.0 / 6000, 1e-12);
    EXPECT_NEAR(*longitudeValue(f.longitude), 4 + 1234.0 / 6000, 1e-12);
    EXPECT_EQ(hemisphereLetter(f.longitude), 'E');

    // No letters, no commas: the fields run out, nothing is read past the line.
    f = cutReferencePoint("521234\r\n");
    EXPECT_EQ(fields(f), std::make_tuple("521234", "", "", ""));
    EXPECT_FALSE(longitudeValue(f.longitude));
    EXPECT_EQ(fields(cutReferencePoint("521234N0041234E,12")), std::make_tuple("521234N", "0041234E", "12", ""));
}

TEST(CornerFile, DbmIsPreferredOverDesBesideTheBitmap) {
    std::set<std::string> files{"C:\\MAPS\\DELFT.dbm", "C:\\MAPS\\DELFT.des", "C:\\MAPS\\LEIDEN.des"};
    auto exists = [&](const std::string& p) { return files.count(p) > 0; };
    EXPECT_EQ(findCornerFile("C:\\MAPS\\DELFT.BMP", exists), "C:\\MAPS\\DELFT.dbm");
    EXPECT_EQ(findCornerFile("C:\\MAPS\\LEIDEN.png", exists), "C:\\MAPS\\LEIDEN.des");
    EXPECT_EQ(findCornerFile("C:\\MAPS\\GOUDA.BMP", exists), std::nullopt);
    // The extension is replaced, whatever its length; a dot in a folder name is not one.
    for (auto [bitmap, extension, beside] : {std::tuple{"C:\\MAPS\\DELFT.tiff", ".WAV", "C:\\MAPS\\DELFT.WAV"},
                                             {"C:\\MAPS\\DELFT.BMP", ".WAV", "C:\\MAPS\\DELFT.WAV"},
                                             {"C:\\MAPS.NL\\DELFT", ".des", "C:\\MAPS.NL\\DELFT.des"}})
        EXPECT_EQ(besideBitmap(bitmap, extension), beside);
}

TEST(CornerFile, StatusTexts) {
    EXPECT_EQ(mapStatusText("Delft", 600, 400), " MAP:  Delft ;  600 x 400 pixels");
    EXPECT_EQ(mapLabelText("Delft"), " MAP: Delft");
    EXPECT_EQ(noCornerFileLines(Language::English)[3], "corner-coordinates!");
    EXPECT_EQ(noCornerFileLines(Language::Dutch)[2], "Geen bijbehorende file met ");
}

TEST(LoadDialog, FilterOffersEveryReadableFormatBmpFirstThenAllFiles) {
    const struct {
        Language language;
        std::vector<std::string> formats;
        const char* filter;
    } rows[] = {
        {Language::English,
         {"png", "BMP", "jpg", "jpeg", "PNG", "tiff"},
         "Map images (*.bmp;*.png;*.jpg;*.jpeg;*.tiff)|*.bmp;*.png;*.jpg;*.jpeg;*.tiff|All Files (*.*)|*.*"},
        {Language::Dutch, {}, "Kaartafbeeldingen (*.bmp)|*.bmp|Alle bestanden (*.*)|*.*"},
    };
    for (const auto& r : rows) EXPECT_EQ(bitmapFileFilter(r.language, r.formats), r.filter);
}

TEST(LoadDialog, OpensInTheCurrentMapsFolderElseTheMapsFolderElseTheProgramFolder) {
    const struct {
        const char* mapPath;
        std::set<std::string> existing;
        const char* folder;
    } rows[] = {
        {"C:\\MAPS\\DELFT.BMP", {"C:\\MAPS", "C:\\TARVOK\\KAARTEN"}, "C:\\MAPS"},
        {"Z:\\home\\u\\kaart.png", {"Z:\\home\\u"}, "Z:\\home\\u"},
        {"", {"C:\\TARVOK\\KAARTEN"}, "C:\\TARVOK\\KAARTEN"},
        {"C:\\GONE\\A.BMP", {"C:\\TARVOK\\KAARTEN"}, "C:\\TARVOK\\KAARTEN"},
        {"", {}, "C:\\TARVOK"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(
            bitmapDialogFolder(r.mapPath, "C:\\TARVOK", [&](const std::string& p) { return r.existing.count(p) > 0; }),
            r.folder)
            << r.mapPath;
}

}  // namespace
}  // namespace tarvok::map
