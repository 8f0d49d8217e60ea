// Go-to, the map database build and the automatic map selection through the
// real main window, with bitmaps, corner files and databases on disk.
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "common/text.h"
#include "navigator/gps/position_display.h"
#include "navigator/map/go_to.h"
#include "navigator/map/map_database.h"
#include "navigator/map/map_view_widget.h"
#include "navigator/map/map_window.h"
#include "navigator/navigator_windows.h"
#include "platform/dialogs.h"
#include "tests/navigator/shell/window_fixture.h"
#include "tests/support/readouts.h"

namespace tarvok::map {
namespace {

using test::ShellWindow;

// Region: 52 N .. 52 20' N, 4 E .. 4 30' E on 300 x 200 pixels; detail: the
// corner 52 05' .. 52 10' N, 4 05' .. 4 10' E on 100 x 100 pixels.
const char* const kRegion = "Region\r\nx\r\nx\r\n520000N0040000E,0,200\r\n522000N0043000E,300,0\r\n";
const char* const kDetail = "Detail\r\nx\r\nx\r\n520500N0040500E,0,100\r\n521000N0041000E,100,0\r\n";
const std::string kDatabase = "C:\\TARVOK\\Autoload.TVK";

struct MapSelectionTest : ::testing::Test {
    ShellWindow shell;
    std::unique_ptr<MapWindow> map;
    std::unique_ptr<gps::PositionDisplay> display;
    void SetUp() override {
        map = std::make_unique<MapWindow>(mapWindowLinks(*shell.window), shell.window.get());
        // Wired as the navigator wires them.
        display = std::make_unique<gps::PositionDisplay>(positionDisplayLinks(*shell.window), *map);
        display->setMapSearch(map.get());
        map->setPositionCalls(display.get());
        shell.open();
    }
    std::string writeMap(const std::string& dosStem, int w, int h, const std::string& corner = "") {
        return shell.writeMap(dosStem, w, h, corner);
    }
    void load(const std::string& nativeBitmap) { ASSERT_TRUE(shell.loadMap(nativeBitmap)); }
    void type(const char* box, const char* text) { shell.box(box)->setText(QString::fromLatin1(text)); }
    std::string text(const char* box) { return utf8ToCp1252(shell.box(box)->text().toStdString()); }
    // Each corner box shows the whole of its text from its start.
    void expectCornerBoxesWhole() {
        const MainWindowControls& c = shell.window->widgets();
        for (QLineEdit* box : {c.upperLeftCorner, c.upperRightCorner, c.lowerLeftCorner, c.lowerRightCorner}) {
            EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()), box->contentsRect().width() - 4)
                << box->objectName().toStdString() << ": " << box->text().toStdString();
            EXPECT_EQ(box->cursorPosition(), 0) << box->objectName().toStdString();
            EXPECT_TRUE(box->parentWidget()->rect().contains(box->geometry())) << box->objectName().toStdString();
        }
    }
    std::string lastMessage() { return shell.dialogs.messages.empty() ? "" : shell.dialogs.messages.back(); }
    MapRecord record(const std::string& cornerPath, MapEdges edges, const std::string& name) {
        MapRecord r;
        r.cornerFilePath = cornerPath;
        r.edges = edges;
        r.nameLines = {name + "\r\n", "x\r\n", "x\r\n"};
        return r;
    }
};

TEST_F(MapSelectionTest, GoToRefusesWithoutAMap) {
    const std::string status = shell.window->status();
    type("Xtext", "10");
    type("Ytext", "10");
    shell.button("Command3")->click();
    shell.button("Command4")->click();
    EXPECT_EQ(shell.dialogs.beeps, 2);
    ASSERT_EQ(shell.dialogs.messages.size(), 2u);
    EXPECT_EQ(shell.dialogs.messages[0],
              "WARNING!\r\n\r\nYou must first load a map!\r\n(the radar will then disappear)\r\n\r\n"
              "(Please use the LOAD function\r\nor press the FIND button.\r\n");
    EXPECT_EQ(shell.dialogs.messages[1], shell.dialogs.messages[0]);
    EXPECT_EQ(shell.window->status(), status);
    EXPECT_EQ(shell.window->state().mapLoaded, 0);
}

TEST_F(MapSelectionTest, GoToAPixel) {
    load(writeMap("C:\\MAPS\\REGION", 300, 200, kRegion));
    map->view().position = {50, 60};
    type("Xtext", "120");
    type("Ytext", "");
    shell.button("Command3")->click();
    EXPECT_EQ(lastMessage(), joinMessageLines(missingPixelLines(Language::English)));
    EXPECT_EQ((map->view().position), (PixelPosition{50, 60}));
    EXPECT_EQ(shell.window->status(), "SHOW PLACE WITH X/Y COORD.");

    // The bitmap's upper left pixel: the mark sits on the screen pixel that
    // shows it, within the picture's first stretched bitmap pixel.
    type("Xtext", "0");
    type("Ytext", "0");
    shell.button("Command3")->click();
    const PixelPosition corner = map->view().position;
    EXPECT_GE(corner.x, kScreenOriginX);
    EXPECT_LT(corner.x, kScreenOriginX + map->view().viewWidth() / 300);
    EXPECT_GE(corner.y, kScreenOriginY);
    EXPECT_LT(corner.y, kScreenOriginY + map->view().viewHeight() / 200);
    // The middle of the bitmap: the mark is drawn in the middle of the picture.
    type("Xtext", "150");
    type("Ytext", "100,4");
    shell.button("Command3")->click();
    EXPECT_FALSE(map->viewWidget().mark().empty());
    EXPECT_EQ(shell.dialogs.messages.size(), 1u);
}

TEST_F(MapSelectionTest, GoToALatitudeAndLongitude) {
    load(writeMap("C:\\MAPS\\REGION", 300, 200, kRegion));
    type("Latid", "52,1");
    type("Longi", "");
    shell.button("Command4")->click();
    EXPECT_EQ(lastMessage(),
              "WARNING!\r\n\r\nYou have not entered any Latitude\r\nor Longitude values! \r\n"
              "(Please use decimal notation)\r\n");
    EXPECT_EQ(shell.window->status(), kGoToLatLonText);

    type("Longi", "4,25");
    type("NSText", "");
    shell.button("Command4")->click();
    // Ytext: (52,333.. - 52,1) / (1/3) x 200 + 1.
    test::expectReadouts(*shell.window, {{"NSText", "N"}, {"Xtext", "150"}, {"Ytext", "141"}});
    EXPECT_FALSE(map->viewWidget().mark().empty());

    // Off the map with the automatic search off: a beep and the status.
    shell.window->state().settings.autoMapSearch = '0';
    const int beeps = shell.dialogs.beeps;
    type("Longi", "5,25");
    shell.button("Command4")->click();
    EXPECT_EQ(shell.dialogs.beeps, beeps + 1);
    EXPECT_EQ(shell.window->status(), " OUT OF RANGE!!");
    EXPECT_EQ(shell.dialogs.messages.size(), 1u);
}

TEST_F(MapSelectionTest, CoordinateBoxesStopNavigationAndEmptyOnDoubleClick) {
    type("Latid", "52,1");
    QTest::mouseDClick(shell.box("Latid"), Qt::LeftButton);
    EXPECT_EQ(text("Latid"), "");
    shell.window->state().navigationActive = 1;
    QTest::mouseClick(shell.box("Xtext"), Qt::LeftButton);
    EXPECT_EQ(shell.window->state().navigationActive, 0);
    EXPECT_EQ(shell.window->status(), " NAVIGATION STOPPED");
}

TEST_F(MapSelectionTest, AutoBuildsTheDatabaseOfTheMapFolderAndKeepsTheCurrentMap) {
    // No map loaded yet: nothing to build, the old database stays.
    shell.prefix.writeDos(kDatabase, "old");
    shell.button("Command12")->click();
    EXPECT_EQ(lastMessage(), joinMessageLines(noMapFilesLines(Language::English)));
    EXPECT_EQ(shell.prefix.readDos(kDatabase), "old");

    load(writeMap("C:\\MAPS\\REGION", 300, 200, kRegion));
    writeMap("C:\\MAPS\\DETAIL", 100, 100, kDetail);
    shell.prefix.writeDos("C:\\MAPS\\BROKEN.des", "Broken\r\nx\r\nx\r\nN520000\r\n522000N0043000E,300,0\r\n");
    shell.prefix.writeDos("C:\\MAPS\\A_NAME_TOO_LONG_FOR_ITS_FIELD.des", kDetail);
    type("NSText", "N");
    const MapCalibration before = map->calibration();
    const std::size_t messages = shell.dialogs.messages.size();

    // A second AUTO or FIND press while the build runs is ignored.
    bool sawRunning = false;
    QTimer::singleShot(0, [&] {
        sawRunning = map->selectionRunning();
        map->Command12_Click();
        map->Command13_Click();
    });
    shell.button("Command12")->click();
    EXPECT_TRUE(sawRunning);
    EXPECT_EQ(shell.dialogs.messages.size(), messages);
    EXPECT_EQ(shell.window->status(), " DATABASE LOADED ! 1 map(s) left out: path longer than 36 characters");

    const std::string db = shell.prefix.readDos(kDatabase);
    ASSERT_EQ(db.size(), 2 * kMapRecordSize);
    const std::vector<MapRecord> records = decodeMapDatabase(db);
    for (const MapRecord& r : records) {
        // Each map's edges from its own bitmap's size.
        if (r.cornerFilePath == "C:\\MAPS\\DETAIL.des") {
            EXPECT_NEAR(r.edges.top, 52 + 10.0 / 60, 1e-9);
            EXPECT_NEAR(r.edges.right, 4 + 10.0 / 60, 1e-9);
        } else {
            EXPECT_EQ(r.cornerFilePath, "C:\\MAPS\\REGION.des");
            EXPECT_NEAR(r.edges.bottom, 52, 1e-9);
        }
    }
    EXPECT_EQ(map->calibration().edges.top, before.edges.top);
    EXPECT_EQ(map->calibration().edges.left, before.edges.left);
    EXPECT_EQ(map->calibration().mapPath, before.mapPath);
    EXPECT_EQ(text("NSText"), "N");
}

TEST_F(MapSelectionTest, FindNeedsADatabaseWithARecord) {
    shell.clickAndSettle("Command13");
    EXPECT_EQ(lastMessage(), joinMessageLines(noMapDatabaseLines(Language::English)));
    shell.prefix.writeDos(kDatabase, std::string(50, 'x'));
    shell.clickAndSettle("Command13");
    EXPECT_EQ(shell.dialogs.messages.size(), 2u);
    EXPECT_EQ(shell.dialogs.beeps, 2);
    EXPECT_EQ(shell.window->state().mapLoaded, 0);
}

TEST_F(MapSelectionTest, FindLoadsTheFirstMapThatHoldsThePosition) {
    writeMap("C:\\MAPS\\REGION", 300, 200, kRegion);
    writeMap("C:\\MAPS\\DETAIL", 100, 100, kDetail);
    const MapRecord region = record("C:\\MAPS\\REGION.des", {52 + 1.0 / 3, 52, 4, 4.5}, "Region");
    const MapRecord detail =
        record("C:\\MAPS\\DETAIL.des", {52 + 1.0 / 6, 52 + 1.0 / 12, 4 + 1.0 / 12, 4 + 1.0 / 6}, "Detail");
    // One record of 140 bytes is searched; empty hemisphere boxes are north and east.
    shell.prefix.writeDos(kDatabase, encodeMapRecord(region));
    type("Latid", "52,125");
    type("Longi", "4,125");
    type("NSText", "");
    type("EWText", "");
    shell.clickAndSettle("Command13");
    EXPECT_TRUE(shell.dialogs.messages.empty());
    EXPECT_EQ(map->calibration().mapPath, "C:\\MAPS\\REGION.bmp");
    test::expectReadouts(*shell.window, {{"NSText", "N"}, {"EWText", "E"}});
    EXPECT_EQ(shell.window->status(), " MAP:  REGION");
    test::expectReadouts(*shell.window, {{"Text8", " MAP: C:\\MAPS\\REGION.bmp ;  300 x 200 pixels"},
                                         {"TextLO",
                                          "52      \xB0N; 4       \xB0"
                                          "E"},
                                         {"TextRB",
                                          "52,33333\xB0N; 4,5     \xB0"
                                          "E"},
                                         {"Xtext", "75"}});
    EXPECT_FALSE(shell.control("Shape1")->isVisible());
    expectCornerBoxesWhole();

    // Both hold it: the one listed first wins, whatever its scale.
    shell.prefix.writeDos(kDatabase, encodeMapRecord(detail) + encodeMapRecord(region));
    shell.clickAndSettle("Command13");
    EXPECT_EQ(map->calibration().mapPath, "C:\\MAPS\\DETAIL.bmp");
    EXPECT_EQ(map->bitmap().width(), 100);
    EXPECT_EQ(text("TextLO"),
              "52,08333\xB0N; 4,083333\xB0"
              "E");
    expectCornerBoxesWhole();
    shell.prefix.writeDos(kDatabase, encodeMapRecord(region) + encodeMapRecord(detail));
    shell.clickAndSettle("Command13");
    EXPECT_EQ(map->calibration().mapPath, "C:\\MAPS\\REGION.bmp");

    // On an edge is outside (strict): no map, and the current one stays.
    shell.prefix.writeDos(kDatabase, encodeMapRecord(detail));
    type("Latid", "52,1666666666666667");
    const int beeps = shell.dialogs.beeps;
    shell.clickAndSettle("Command13");
    EXPECT_EQ(shell.dialogs.beeps, beeps + 1);
    EXPECT_EQ(shell.window->status(), " NO MAP FOUND ");
    EXPECT_EQ(map->calibration().mapPath, "C:\\MAPS\\REGION.bmp");
    EXPECT_NEAR(map->calibration().edges.top, 52 + 1.0 / 3, 1e-12);
}

TEST_F(MapSelectionTest, AMissingBitmapKeepsTheCurrentMapOrGivesWayToTheNextRecord) {
    load(writeMap("C:\\MAPS\\REGION", 300, 200, kRegion));
    const MapCalibration before = map->calibration();
    shell.prefix.writeDos(kDatabase, encodeMapRecord(record("C:\\MAPS\\GONE.des", {53, 51, 3, 5}, "Gone")));
    type("Latid", "52,125");
    type("Longi", "4,125");
    shell.clickAndSettle("Command13");
    EXPECT_EQ(lastMessage(), joinMessageLines(mapNotFoundLines(Language::English)));
    EXPECT_EQ(map->calibration().mapPath, before.mapPath);
    EXPECT_EQ(map->calibration().edges.top, before.edges.top);
    EXPECT_EQ(map->bitmap().width(), 300);
    EXPECT_EQ(shell.window->status(), " NO MAP FOUND ");

    // The next record that holds the position is taken; the gone one is told once.
    writeMap("C:\\MAPS\\DETAIL", 100, 100, kDetail);
    const MapRecord gone = record("C:\\MAPS\\GONE.des", {53, 51, 3, 5}, "Gone");
    const MapRecord detail =
        record("C:\\MAPS\\DETAIL.des", {52 + 1.0 / 6, 52 + 1.0 / 12, 4 + 1.0 / 12, 4 + 1.0 / 6}, "Detail");
    shell.prefix.writeDos(kDatabase, encodeMapRecord(gone) + encodeMapRecord(gone) + encodeMapRecord(detail));
    const std::size_t messages = shell.dialogs.messages.size();
    shell.clickAndSettle("Command13");
    EXPECT_EQ(shell.dialogs.messages.size(), messages + 1);
    EXPECT_EQ(map->calibration().mapPath, "C:\\MAPS\\DETAIL.bmp");
    EXPECT_EQ(map->bitmap().width(), 100);
    EXPECT_EQ(shell.window->status(), " MAP:  DETAIL");
}

TEST_F(MapSelectionTest, LeavingTheMapWithAutomaticSearchLoadsTheNextMap) {
    load(writeMap("C:\\MAPS\\DETAIL", 100, 100, kDetail));
    writeMap("C:\\MAPS\\REGION", 300, 200, kRegion);
    shell.button("Command12")->click();
    ASSERT_EQ(shell.prefix.readDos(kDatabase).size(), 2 * kMapRecordSize);
    shell.window->state().settings.autoMapSearch = '1';
    type("Latid", "52,25");  // north of the detail map, on the region map
    type("Longi", "4,125");
    shell.clickAndSettle("Command4");
    EXPECT_EQ(map->calibration().mapPath, "C:\\MAPS\\REGION.bmp");
    test::expectReadouts(*shell.window, {{"Xtext", "75"}, {"Ytext", "51"}});
    EXPECT_FALSE(map->viewWidget().mark().empty());
}

}  // namespace
}  // namespace tarvok::map
