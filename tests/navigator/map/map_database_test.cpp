#include "navigator/map/map_database.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <tuple>

#include "tests/support/fifo_guard.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_prefix.h"

namespace tarvok::map {
namespace {

std::string cornerFile(const std::string& a, const std::string& b, const std::string& name = "Delft") {
    return name + "\r\nline two\r\nline three\r\n" + a + "\r\n" + b + "\r\n";
}

// The first bytes of a BMP file with a BITMAPINFOHEADER (or the old
// 12-byte core header).
std::string bmpHeader(std::int32_t width, std::int32_t height, bool core = false) {
    std::string h(54, '\0');
    h[0] = 'B';
    h[1] = 'M';
    const std::int32_t info = core ? 12 : 40;
    std::memcpy(h.data() + 14, &info, 4);
    if (core) {
        const auto w = static_cast<std::int16_t>(width), hh = static_cast<std::int16_t>(height);
        std::memcpy(h.data() + 18, &w, 2);
        std::memcpy(h.data() + 20, &hh, 2);
    } else {
        std::memcpy(h.data() + 18, &width, 4);
        std::memcpy(h.data() + 22, &height, 4);
    }
    return h;
}

double doubleAt(const std::string& bytes, std::size_t at) {
    double v;
    std::memcpy(&v, bytes.data() + at, 8);
    return v;
}

MapRecord record(const std::string& path, MapEdges edges) {
    MapRecord r;
    r.cornerFilePath = path;
    r.edges = edges;
    r.topLetter = edges.top < 0 ? 'S' : 'N';
    r.bottomLetter = edges.bottom < 0 ? 'S' : 'N';
    r.leftLetter = edges.left < 0 ? 'W' : 'E';
    r.rightLetter = edges.right < 0 ? 'W' : 'E';
    return r;
}

TEST(MapRecord, ByteLayoutAndReadingBack) {
    MapRecord r = record("C:\\KAARTEN\\DELFT.des", {52.5, 52.0, -0.5, 4.5});
    r.nameLines = {"Delft\r\n", "a line of more than 15", ""};
    const std::string bytes = encodeMapRecord(r);
    ASSERT_EQ(bytes.size(), 140u);
    for (auto [at, text] : {std::pair<std::size_t, std::string>{0, "C:\\KAARTEN\\DELFT.des                "},
                            {36, "NNWE"},
                            {40, "Delft\r\n        "},
                            {55, "a line of more "},
                            {70, std::string(15, ' ')},
                            {85, std::string(15, '\0')},
                            {132, std::string(8, '\0')}})
        EXPECT_EQ(bytes.substr(at, text.size()), text) << "at " << at;
    // Absolute values; the signs are in the letters.
    for (auto [at, value] : {std::pair<std::size_t, double>{100, 52.5}, {108, 52.0}, {116, 0.5}, {124, 4.5}})
        EXPECT_EQ(doubleAt(bytes, at), value) << "at " << at;

    const MapRecord back = decodeMapRecord(bytes);
    EXPECT_EQ(back.cornerFilePath, r.cornerFilePath);
    EXPECT_EQ(back.edges.left, -0.5);
    EXPECT_EQ(back.edges.top, 52.5);
    EXPECT_EQ(back.nameLines[0], "Delft\r\n");
    EXPECT_EQ(back.bitmapPath(), "C:\\KAARTEN\\DELFT.bmp");

    // Only whole records are read.
    EXPECT_EQ(decodeMapDatabase(bytes + bytes + std::string(139, 'x')).size(), 2u);
    for (std::uint64_t size : {0, 50, 139, 140}) EXPECT_EQ(mapDatabaseSearchable(size), size == 140) << size;
}

TEST(BitmapHeader, SizeWithoutDecoding) {
    EXPECT_EQ(bitmapSizeFromHeader(bmpHeader(800, 600))->width, 800);
    EXPECT_EQ(bitmapSizeFromHeader(bmpHeader(800, -600))->height, 600);  // stored top-down
    EXPECT_EQ(bitmapSizeFromHeader(bmpHeader(320, 200, true))->height, 200);
    EXPECT_FALSE(bitmapSizeFromHeader(bmpHeader(0, 600)));
    EXPECT_FALSE(bitmapSizeFromHeader("BM"));
    std::string png = bmpHeader(800, 600);
    png[0] = '\x89';
    EXPECT_FALSE(bitmapSizeFromHeader(png));
}

TEST(MapDatabaseEntry, EdgesFromTheMapsOwnBitmapSize) {
    const std::string text = cornerFile("521000N0040000E,0,400", "522000N0043000E,600,0");
    const MapEntry small = mapDatabaseEntry("C:\\M\\A.des", text, {600, 400});
    const MapEntry large = mapDatabaseEntry("C:\\M\\A.des", text, {1200, 800});
    ASSERT_EQ(small.outcome, MapEntryOutcome::Written);
    ASSERT_EQ(large.outcome, MapEntryOutcome::Written);
    EXPECT_DOUBLE_EQ(small.record.edges.right, 4.5);
    EXPECT_DOUBLE_EQ(large.record.edges.right, 5.0);  // 600 more pixels at 0.5 degrees per 600
    EXPECT_NEAR(large.record.edges.bottom, 52.0 + 1000.0 / 6000 - 400.0 / 400 * (1000.0 / 6000), 1e-12);
    EXPECT_EQ(large.record.nameLines[0], "Delft\r\n");
    EXPECT_EQ(large.record.nameLines[1], "line two\r\n");
}

TEST(MapDatabaseEntry, EdgesAcrossTheEquatorAndThePrimeMeridianReadBackRight) {
    // A at 0 05' N 0 05' E, B at 0 15' N 0 15' E, 600 x 200 pixels apart in a
    // 1200 x 800 bitmap: the bottom edge lies south, the left edge west.
    const std::string text = cornerFile("000500N0000500E,300,400", "001500N0001500E,900,200");
    const MapEntry e = mapDatabaseEntry("C:\\M\\EQ.des", text, {1200, 800});
    ASSERT_EQ(e.outcome, MapEntryOutcome::Written);
    EXPECT_TRUE(e.record.edges.bottom < 0 && e.record.edges.left < 0);
    EXPECT_EQ(std::string({e.record.topLetter, e.record.bottomLetter, e.record.leftLetter}), "NSW");
    const MapRecord back = decodeMapRecord(encodeMapRecord(e.record));
    EXPECT_DOUBLE_EQ(back.edges.bottom, e.record.edges.bottom);
    EXPECT_DOUBLE_EQ(back.edges.left, e.record.edges.left);
}

TEST(MapDatabaseEntry, LongPathsAndNonNumericCoordinatesAreLeftOut) {
    const std::string text = cornerFile("521000N0040000E,0,400", "522000N0043000E,600,0");
    const std::string path36 = "C:\\" + std::string(29, 'K') + ".des";
    ASSERT_EQ(path36.size(), 36u);
    EXPECT_EQ(mapDatabaseEntry(path36, text, {600, 400}).outcome, MapEntryOutcome::Written);
    EXPECT_EQ(mapDatabaseEntry(path36 + "x", text, {600, 400}).outcome, MapEntryOutcome::PathTooLong);
    EXPECT_EQ(mapDatabaseEntry("C:\\M\\B.des", cornerFile("52x000N0040000E,0,400", "522000N0043000E,600,0"), {600, 400})
                  .outcome,
              MapEntryOutcome::NotNumeric);
    EXPECT_EQ(mapDatabaseEntry("C:\\M\\B.des", "", {600, 400}).outcome, MapEntryOutcome::NotNumeric);
}

struct FakeFiles : MapFolderFiles {
    std::map<std::string, std::string> files;
    std::optional<std::string> readFile(const std::string& p) override {
        auto it = files.find(p);
        return it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    std::optional<std::string> readStart(const std::string& p, std::size_t n) override {
        auto f = readFile(p);
        return f ? std::optional<std::string>(f->substr(0, n)) : std::nullopt;
    }
};

TEST(MapDatabaseBuild, OneFileAtATimeInListingOrder) {
    FakeFiles f;
    const std::string text = cornerFile("521000N0040000E,0,400", "522000N0043000E,600,0");
    f.files["C:\\M\\A.des"] = text;
    f.files["C:\\M\\A.bmp"] = bmpHeader(1200, 800);
    f.files["C:\\M\\B.des"] = text;  // no bitmap: the loaded bitmap's size
    f.files["C:\\M\\BAD.des"] = cornerFile("x", "y");
    const std::string longPath = "C:\\" + std::string(40, 'L') + ".des";
    f.files[longPath] = text;
    MapDatabaseBuild build({"C:\\M\\A.des", "C:\\M\\BAD.des", longPath, "C:\\M\\B.des", "C:\\M\\GONE.des"}, {600, 400});
    std::vector<std::string> shown;
    while (!build.done()) {
        shown.push_back(build.nextPath());
        build.step(f);
    }
    EXPECT_EQ(shown.size(), 5u);
    EXPECT_EQ(build.recordCount(), 2u);
    EXPECT_EQ(build.leftOutLongPaths(), 1u);
    EXPECT_EQ(build.leftOutNotNumeric(), 2u);
    // The records in database order: B, whose smaller sheet lies further
    // north where a degree of longitude is shorter, is a hair more detailed.
    const std::vector<MapRecord> records = decodeMapDatabase(build.content());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].cornerFilePath, "C:\\M\\B.des");
    EXPECT_DOUBLE_EQ(records[0].edges.right, 4.5);
    EXPECT_EQ(records[1].cornerFilePath, "C:\\M\\A.des");
    EXPECT_DOUBLE_EQ(records[1].edges.right, 5.0);
    EXPECT_EQ(databaseLoadedText(Language::English, build.leftOutLongPaths()),
              " DATABASE LOADED ! 1 map(s) left out: path longer than 36 characters");
    EXPECT_EQ(databaseLoadedText(Language::Dutch, 0), " DATABASE GELADEN ");
}

TEST(SearchMapForPosition, FirstContainingRecordWinsEdgesAreOutside) {
    const std::vector<MapRecord> records = {
        record("C:\\M\\WIDE.des", {53, 51, 3, 6}),
        record("C:\\M\\DETAIL.des", {52.2, 52.0, 4.3, 4.5}),
        record("C:\\M\\SOUTH.des", {-33, -35, 150, 152}),
    };
    MapSearch s = searchMapForPosition(records, "52,1", "4,4", "N", "E");
    EXPECT_EQ(s.outcome, MapSearchOutcome::Found);
    EXPECT_EQ(s.index, 0u);  // the wide map was listed first
    s = searchMapForPosition({records[1]}, "52,2", "4,4", "N", "E");
    EXPECT_EQ(s.outcome, MapSearchOutcome::NoMap);  // on the top edge
    s = searchMapForPosition({records[1]}, "52,1", "4,5", "N", "E");
    EXPECT_EQ(s.outcome, MapSearchOutcome::NoMap);  // on the right edge
    s = searchMapForPosition(records, "34", "151", "z", "e");
    EXPECT_EQ(s.outcome, MapSearchOutcome::Found);
    EXPECT_EQ(s.index, 2u);
    EXPECT_EQ(s.nsText, "Z");
    s = searchMapForPosition(records, "52,1", "4,4", "", "");
    EXPECT_EQ(std::tie(s.outcome, s.nsText, s.ewText), std::make_tuple(MapSearchOutcome::Found, "N", "E"));
    s = searchMapForPosition(records, "52,1", "4,4", "N", "W");
    EXPECT_EQ(s.outcome, MapSearchOutcome::NoMap);
    EXPECT_EQ(searchMapForPosition(records, "", "4,4", "N", "E").outcome, MapSearchOutcome::PositionNotNumeric);
    EXPECT_EQ(searchMapForPosition({}, "52", "4", "N", "E").outcome, MapSearchOutcome::NoMap);
}

TEST(FoundMap, CornerBoxesAndStatusTexts) {
    MapRecord r = record("C:\\M\\DELFT.des", {52.25, 52.0, -0.125, 4.5});
    r.nameLines[0] = "Delft\r\n";
    const CornerBoxes b = mapRecordCornerBoxes(r);
    EXPECT_EQ(std::tie(b.upperLeft, b.lowerRight, b.lowerLeft, b.upperRight),
              std::make_tuple("52,25   \xB0N; 0,125   \xB0W",
                              "52      \xB0N; 4,5     \xB0"
                              "E",
                              "52      \xB0N; 0,125   \xB0W",
                              "52,25   \xB0N; 4,5     \xB0"
                              "E"));
    MapRecord fine = record("C:\\M\\F.des", {52.0833333333333, 52, 4, 5});
    EXPECT_EQ(mapRecordCornerBoxes(fine).upperLeft.substr(0, 10), "52,08333\xB0N");
    EXPECT_EQ(foundMapStatusText("C:\\M\\DELFT.bmp", 800, 600), " MAP: C:\\M\\DELFT.bmp ;  800 x 600 pixels");
    EXPECT_EQ(foundMapLabelText(r), " MAP:  DELFT");
    EXPECT_EQ(mapFolderOf("C:\\KAARTEN\\DELFT.BMP"), "C:\\KAARTEN");
    EXPECT_EQ(mapFolderOf("DELFT.BMP"), "");
    EXPECT_EQ(noMapFilesLines(Language::English).size(), 11u);
    EXPECT_EQ(noMapDatabaseLines(Language::Dutch)[2], "Bestand 'AUTOLOAD.TVK' niet gevonden! ");
}

TEST(MapDatabaseBuild, RecordsRunFromTheMostDetailedMapToTheCoarsestWhateverTheListingOrder) {
    // The same two reference points at each map's corners: a bitmap with
    // more pixels between them is the more detailed map. Equal detail goes
    // by file name.
    struct Map {
        const char* path;
        int width, height;
    };
    const Map maps[] = {{"C:\\K\\REGIO.des", 600, 400},
                        {"C:\\K\\delft.des", 2400, 1600},
                        {"C:\\K\\BDETAIL.des", 2400, 1600},
                        {"C:\\K\\MIDDEN.des", 1200, 800},
                        {"C:\\K\\A\\ZZ.des", 1200, 800}};
    FakeFiles folder;
    for (const Map& m : maps) {
        folder.files[m.path] = cornerFile("521000N0040000E,0," + std::to_string(m.height),
                                          "522000N0043000E," + std::to_string(m.width) + ",0");
        MapRecord record;
        record.cornerFilePath = m.path;
        folder.files[record.bitmapPath()] = bmpHeader(m.width, m.height);
    }
    const std::vector<std::string> expected = {"C:\\K\\BDETAIL.des", "C:\\K\\delft.des", "C:\\K\\MIDDEN.des",
                                               "C:\\K\\A\\ZZ.des", "C:\\K\\REGIO.des"};
    for (const std::vector<int>& listing :
         {std::vector{0, 1, 2, 3, 4}, std::vector{4, 3, 2, 1, 0}, std::vector{3, 0, 4, 2, 1}}) {
        std::vector<std::string> files;
        for (int i : listing) files.push_back(maps[i].path);
        MapDatabaseBuild build(files, {640, 480});
        while (!build.done()) build.step(folder);
        std::vector<std::string> order;
        for (const MapRecord& r : decodeMapDatabase(build.content())) order.push_back(r.cornerFilePath);
        EXPECT_EQ(order, expected);
        // The coarse map holds the position too; the search finds the detail map.
        const MapSearch s = searchMapForPosition(decodeMapDatabase(build.content()), "52,2", "4,3", "N", "E");
        EXPECT_EQ(decodeMapDatabase(build.content())[s.index].cornerFilePath, "C:\\K\\BDETAIL.des");
    }
    // A degree of longitude at 52 N is 0.616 of one of latitude: 600 x 400
    // pixels over 0.5 x 0.1667 degrees.
    EXPECT_NEAR(metresPerPixel({52.5, 52.0, 4.0, 4.5}, {600, 400}),
                std::sqrt(0.5 * 111195 * std::cos(52.25 * M_PI / 180) * 0.5 * 111195 / (600 * 400)), 0.5);
}

using test::runTool;
using test::writeFile;

TEST(MapDatabaseTools, MapdbThenFind) {
    test::TempPrefix prefix;
    const DosPaths paths(DosPaths::defaultPrefix());
    const auto folder = paths.toNative("C:\\KAARTEN");
    writeFile(folder / "DELFT.des", cornerFile("521000N0040000E,0,400", "522000N0043000E,600,0"));
    writeFile(folder / "DELFT.bmp", bmpHeader(600, 400));
    writeFile(folder / "SYDNEY.DES", cornerFile("335000S1510000E,0,400", "334000S1512000E,600,0", "Sydney"));
    writeFile(folder / "notes.txt", "not a map");

    test::ProgramRun r = runTool({"mapdb", "C:\\KAARTEN"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("2 maps"), std::string::npos) << r.err;
    // The database order: Sydney (no bitmap, measured at 640 x 480: 48.8 m a
    // pixel) before Delft (its own 600 x 400 over a wider area: 51.3 m).
    EXPECT_EQ(r.out, "C:\\KAARTEN\\SYDNEY.DES  48.78 m/pixel\nC:\\KAARTEN\\DELFT.des  51.27 m/pixel\n");
    const auto db = paths.toNative("C:\\TARVOK\\Autoload.TVK");
    EXPECT_EQ(std::filesystem::file_size(db), 280u);

    r = runTool({"find", "52.2", "4.1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "C:\\KAARTEN\\DELFT.bmp");
    EXPECT_NE(r.out.find(" MAP:  DELFT"), std::string::npos);
    r = runTool({"find", "-33.75", "151.1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "C:\\KAARTEN\\SYDNEY.bmp");
    EXPECT_EQ(runTool({"find", "10", "10"}).exitCode, 1);

    // Links planted at the database and at a temporary name beside it are
    // never written through.
    const auto outside = prefix.root() / "outside";
    writeFile(outside, "keep");
    std::filesystem::remove(db);
    std::filesystem::create_symlink(outside, db);
    std::filesystem::create_symlink(outside, db.string() + ".new");
    ASSERT_EQ(runTool({"mapdb", "C:\\KAARTEN"}).exitCode, 0);
    EXPECT_EQ(test::readFile(outside), "keep");
    EXPECT_FALSE(std::filesystem::is_symlink(db));
    EXPECT_EQ(std::filesystem::file_size(db), 280u);

    // A folder without corner files leaves the database as it was.
    std::filesystem::create_directories(paths.toNative("C:\\LEEG"));
    EXPECT_EQ(runTool({"mapdb", "C:\\LEEG"}).exitCode, 1);
    EXPECT_EQ(std::filesystem::file_size(db), 280u);

    std::filesystem::resize_file(db, 50);
    r = runTool({"find", "52.2", "4.1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("File 'AUTOLOAD.TVK' not found!"), std::string::npos) << r.err;
}

TEST(MapDatabaseTools, PipesLinksAndDevicesInTheMapFolderAreSkippedWithoutWaiting) {
    test::TempPrefix prefix;
    const DosPaths paths(DosPaths::defaultPrefix());
    const auto folder = paths.toNative("C:\\KAARTEN");
    writeFile(folder / "DELFT.des", cornerFile("521000N0040000E,0,400", "522000N0043000E,600,0"));
    writeFile(folder / "ZERO.des", cornerFile("521000N0040000E,0,400", "522000N0043000E,600,0", "Zero"));
    test::FifoGuard bitmapPipe(folder / "DELFT.bmp");                   // the bitmap header read from a pipe
    std::filesystem::create_symlink("/dev/zero", folder / "ZERO.bmp");  // and from an endless device
    test::FifoGuard cornerPipe(folder / "PIPE.des");
    std::filesystem::create_symlink("/dev/zero", folder / "DEVICE.des");
    std::filesystem::create_directories(folder / "FOLDER.des");
    const test::ProgramRun r = runTool({"mapdb", "C:\\KAARTEN"});
    EXPECT_FALSE(bitmapPipe.released() || cornerPipe.released()) << "the build waited on a pipe";
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Both real corner files, measured with the 640 x 480 the tool takes for unreadable bitmaps.
    const std::string db = test::readFile(paths.toNative("C:\\TARVOK\\Autoload.TVK"));
    ASSERT_EQ(db.size(), 2 * kMapRecordSize);
    for (const MapRecord& rec : decodeMapDatabase(db))
        EXPECT_NEAR(rec.edges.bottom, 52 + 1.0 / 6 - (480.0 - 400) / 400 / 6, 1e-9);
}

}  // namespace
}  // namespace tarvok::map
