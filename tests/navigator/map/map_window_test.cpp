#include "navigator/map/map_window.h"
#include "navigator/navigator_windows.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

#include <cmath>

#include <gtest/gtest.h>

#include "navigator/map/map_loader.h"
#include "navigator/map/map_view_widget.h"
#include "tests/navigator/shell/window_fixture.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/fifo_guard.h"

namespace tarvok::map {
namespace {

using test::ShellWindow;

struct MapWindowTest : ::testing::Test {
    ShellWindow shell;
    std::unique_ptr<MapWindow> map;
    void SetUp() override {
        map = std::make_unique<MapWindow>(mapWindowLinks(*shell.window), shell.window.get());
        shell.open();
    }
    std::string writeMap(const std::string& dosStem, int w, int h, const std::string& corner = "") {
        return shell.writeMap(dosStem, w, h, corner);
    }
    std::string text(const char* box) { return shell.box(box)->text().toStdString(); }
};

TEST_F(MapWindowTest, LoadingACalibratedMapShowsItAndEndsTheRadar) {
    const std::string bmp =
        writeMap("C:\\MAPS\\DELFT", 600, 400, "Delft\r\nx\r\nx\r\n521000N0040000E,0,400\r\n522000N0043000E,600,0\r\n");
    std::filesystem::create_directories(shell.prefix.paths().toNative("C:\\TARVOK\\KAARTEN"));
    shell.dialogs.fileAnswers.push_back(bmp);
    shell.clickAndSettle("Command2");
    // Every format the navigator reads, BMP first; the maps folder first,
    // then the folder of the map in use.
    const std::string filter = shell.dialogs.fileFilters.back();
    EXPECT_EQ(filter.rfind("Map images (*.bmp;", 0), 0u) << filter;
    EXPECT_NE(filter.find(";*.png;"), std::string::npos) << filter;
    EXPECT_NE(filter.find(";*.jpg"), std::string::npos) << filter;
    EXPECT_EQ(shell.dialogs.fileFolders.back(), shell.prefix.paths().toNative("C:\\TARVOK\\KAARTEN").string());
    shell.button("Command2")->click();  // cancelled
    EXPECT_EQ(shell.dialogs.fileFolders.back(), shell.prefix.paths().toNative("C:\\MAPS").string());
    EXPECT_TRUE(shell.dialogs.messages.empty());
    EXPECT_EQ(shell.window->state().mapLoaded, 1);
    EXPECT_EQ(map->calibration().mapPath, "C:\\MAPS\\DELFT.BMP");
    EXPECT_NEAR(map->calibration().edges.top, 52 + 1.0 / 3, 1e-9);
    EXPECT_DOUBLE_EQ(map->calibration().edges.right, 4.5);
    EXPECT_EQ(text("Text8"), " MAP:  Delft ;  600 x 400 pixels");
    EXPECT_EQ(shell.window->status(), " MAP: Delft");
    EXPECT_EQ(text("TextLO"), "52\u00b01000'N, 004\u00b00000'E");
    EXPECT_EQ(text("NSText"), "N");
    EXPECT_EQ(text("Ztext"), "Zoom=0");
    EXPECT_TRUE(map->viewWidget().isVisible());
    EXPECT_FALSE(shell.control("Shape1")->isVisible());
    // The map came with its overview at the map picture's size, which the first frame copies.
    const QSize picture = map->viewWidget().grabFrame().size();
    EXPECT_EQ(map->bitmap().bytesHeld(),
              map->bitmap().level(0).sizeInBytes() + 4 * qint64(picture.width()) * picture.height());

    // Zoom in twice through the buttons: scroll bars replace Text8.
    shell.button("ZoomI")->click();
    shell.button("ZoomI")->click();
    EXPECT_EQ(text("Ztext"), "Zoom=2");
    auto* h = shell.control<QScrollBar>("HScroll3");
    EXPECT_TRUE(h->isVisible());
    EXPECT_EQ(h->maximum(), 450);
    EXPECT_FALSE(shell.control("Text8")->isVisible());
    // The user scrolls: the clip follows.
    h->setValue(10);
    EXPECT_EQ(map->viewWidget().shownClip().x, 10);
    EXPECT_EQ(map->viewWidget().shownClip().width, 150);
    shell.button("Zoom0")->click();
    EXPECT_EQ(text("Ztext"), "Zoom=0");
    EXPECT_FALSE(h->isVisible());
}

TEST_F(MapWindowTest, FollowingThePositionRecentresOnlyWithMovingMapAboveLevelZero) {
    shell.dialogs.fileAnswers.push_back(writeMap("C:\\MAPS\\F", 2000, 1600));
    shell.clickAndSettle("Command2");
    shell.button("ZoomI")->click();
    const float sw = map->view().viewWidth();
    // Moving map off: the mark goes where the view shows the pixel.
    map->view().position = {1000, 800};
    map->followPosition();
    const int h = map->view().hScroll().value;
    EXPECT_NEAR(map->view().position.x, (1000.0 - h) / 2000 * 2 * sw + 202, 1);
    EXPECT_FALSE(map->viewWidget().mark().empty());
    // Moving map on: the view scrolls to the position and the mark sits in the middle.
    shell.control<QCheckBox>("Check1")->setChecked(true);
    map->view().position = {600, 500};
    map->followPosition();
    EXPECT_EQ(map->view().hScroll().value, 100);
    EXPECT_NEAR(map->view().position.x, sw / 2 + 202, 1);
    EXPECT_EQ(shell.control<QScrollBar>("HScroll3")->value(), 100);
}

TEST_F(MapWindowTest, CancelAndUnreadableBitmapsLeaveTheCurrentMap) {
    shell.dialogs.fileAnswers.push_back(std::nullopt);
    const std::string before = shell.window->status();
    shell.clickAndSettle("Command2");
    EXPECT_EQ(shell.window->state().mapLoaded, 0);
    EXPECT_EQ(shell.window->status(), before);
    EXPECT_TRUE(shell.dialogs.messages.empty());

    const std::string good =
        writeMap("C:\\MAPS\\A", 300, 200, "A\r\nx\r\nx\r\n521000N0040000E,0,200\r\n522000N0043000E,300,0\r\n");
    shell.dialogs.fileAnswers.push_back(good);
    shell.clickAndSettle("Command2");
    ASSERT_EQ(map->bitmap().width(), 300);

    const auto bad = shell.prefix.writeDos("C:\\MAPS\\B.BMP", "BM not really a bitmap");
    shell.dialogs.fileAnswers.push_back(bad.string());
    shell.clickAndSettle("Command2");
    ASSERT_EQ(shell.dialogs.messages.size(), 1u);
    EXPECT_NE(shell.dialogs.messages[0].find("cannot be read"), std::string::npos);
    EXPECT_EQ(map->bitmap().width(), 300);
    EXPECT_EQ(map->calibration().mapPath, "C:\\MAPS\\A.BMP");
    EXPECT_EQ(text("Text8"), " MAP:  A ;  300 x 200 pixels");
}

TEST_F(MapWindowTest, AMapWithoutCornerFileWarnsAndKeepsThePreviousEdges) {
    const std::string bmp = writeMap("C:\\MAPS\\BARE", 320, 240);
    map->calibration().edges = {1, 2, 3, 4};
    shell.dialogs.fileAnswers.push_back(bmp);
    shell.clickAndSettle("Command2");
    ASSERT_EQ(shell.dialogs.messages.size(), 1u);
    EXPECT_NE(shell.dialogs.messages[0].find("No matching file found with"), std::string::npos);
    EXPECT_EQ(map->bitmap().width(), 320);  // the new bitmap stays on screen
    EXPECT_EQ(map->calibration().edges.top, 1);
}

TEST_F(MapWindowTest, APipeNamedLikeABitmapOrCornerFileIsRefusedAtOnce) {
    const std::string good =
        writeMap("C:\\MAPS\\A", 300, 200, "A\r\nx\r\nx\r\n521000N0040000E,0,200\r\n522000N0043000E,300,0\r\n");
    const auto native = [&](const char* dos) { return shell.prefix.paths().toNative(dos); };
    test::FifoGuard bitmapPipe(native("C:\\MAPS\\PIPE.BMP"));
    shell.dialogs.fileAnswers.push_back(bitmapPipe.path().string());
    shell.clickAndSettle("Command2");
    EXPECT_FALSE(bitmapPipe.released()) << "the window waited on the pipe";
    ASSERT_EQ(shell.dialogs.messages.size(), 1u);
    EXPECT_NE(shell.dialogs.messages[0].find("C:\\MAPS\\PIPE.BMP is not a file"), std::string::npos)
        << shell.dialogs.messages[0];
    EXPECT_EQ(shell.window->state().mapLoaded, 0);

    // A bitmap whose corner file is a pipe: shown, the pipe named, the edges kept.
    ASSERT_TRUE(shell.loadMap(good));
    const MapEdges edges = map->calibration().edges;
    writeMap("C:\\MAPS\\C", 320, 240);
    test::FifoGuard cornerPipe(native("C:\\MAPS\\C.des"));
    shell.dialogs.fileAnswers.push_back(native("C:\\MAPS\\C.BMP").string());
    shell.clickAndSettle("Command2");
    EXPECT_FALSE(cornerPipe.released()) << "the window waited on the pipe";
    ASSERT_EQ(shell.dialogs.messages.size(), 2u);
    EXPECT_NE(shell.dialogs.messages[1].find("C:\\MAPS\\C.des is not a file"), std::string::npos)
        << shell.dialogs.messages[1];
    EXPECT_EQ(map->bitmap().width(), 320);
    EXPECT_EQ(map->calibration().edges.top, edges.top);
}

}  // namespace
}  // namespace tarvok::map

namespace tarvok::map {
namespace {

// Bitmaps are read on a worker, slowed here like a slow disk: a choice made
// while one is read replaces it, and one that fails leaves the map shown.
TEST_F(MapWindowTest, TheLastLoadRequestWinsAndAFailedOneKeepsTheCurrentMap) {
    const std::string a =
        writeMap("C:\\MAPS\\A", 300, 200, "A\r\nx\r\nx\r\n521000N0040000E,0,200\r\n522000N0043000E,300,0\r\n");
    const std::string bare = writeMap("C:\\MAPS\\BARE", 320, 240);  // its outcome would warn of no corner file
    const std::string c =
        writeMap("C:\\MAPS\\C", 400, 300, "C\r\nx\r\nx\r\n530000N0050000E,0,300\r\n531000N0053000E,400,0\r\n");
    const auto cut = shell.prefix.paths().toNative("C:\\MAPS\\CUT.BMP");
    ASSERT_TRUE(test::writeBmp(cut.string(), 500, 400, 24, [](int, std::uint8_t*) {}));
    std::filesystem::resize_file(cut, 5000);  // pixels cut off
    ASSERT_TRUE(shell.loadMap(a));
    MapLoader::setReadDelay(std::chrono::milliseconds(150));
    auto choose = [&](const std::string& file) {
        shell.dialogs.fileAnswers.push_back(file);
        shell.button("Command2")->click();
        EXPECT_TRUE(map->mapLoading());
        EXPECT_EQ(map->calibration().mapPath, "C:\\MAPS\\A.BMP");  // still the map shown
        EXPECT_EQ(map->bitmap().width(), 300);
    };

    choose(bare);
    choose(c);
    shell.settleMap();
    EXPECT_TRUE(shell.dialogs.messages.empty()) << shell.dialogs.messages[0];
    EXPECT_EQ(map->calibration().mapPath, "C:\\MAPS\\C.BMP");
    EXPECT_EQ(map->bitmap().width(), 400);
    EXPECT_EQ(text("Text8"), " MAP:  C ;  400 x 300 pixels");

    // A failed load: said, and C stays with its path, edges and texts.
    const MapEdges edges = map->calibration().edges;
    shell.dialogs.fileAnswers.push_back(cut.string());
    shell.clickAndSettle("Command2");
    MapLoader::setReadDelay(std::chrono::milliseconds(0));
    ASSERT_EQ(shell.dialogs.messages.size(), 1u);
    EXPECT_NE(shell.dialogs.messages[0].find("cannot be read"), std::string::npos);
    EXPECT_EQ(map->calibration().mapPath, "C:\\MAPS\\C.BMP");
    EXPECT_EQ(map->calibration().edges.top, edges.top);
    EXPECT_EQ(map->bitmap().width(), 400);
    EXPECT_EQ(text("Text8"), " MAP:  C ;  400 x 300 pixels");
}

void sendWheel(QWidget* w, int delta) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                  false);
    QCoreApplication::sendEvent(w, &e);
}

void sendDrag(QWidget* w, QPoint from, QPoint to) {
    auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    };
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

TEST_F(MapWindowTest, TheTitleNamesTheMapShown) {
    EXPECT_EQ(shell.window->windowTitle(), "Tarvok");
    ASSERT_TRUE(shell.loadMap(writeMap("C:\\MAPS\\Delft", 300, 200)));
    EXPECT_EQ(shell.window->windowTitle(), "Tarvok - DELFT.BMP");
    // A bitmap that cannot be read leaves the map, and the title, as they were.
    shell.dialogs.fileAnswers.push_back(shell.prefix.writeDos("C:\\MAPS\\B.BMP", "BM no bitmap").string());
    shell.clickAndSettle("Command2");
    EXPECT_EQ(shell.window->windowTitle(), "Tarvok - DELFT.BMP");
}

TEST_F(MapWindowTest, TheWheelZoomsAndADragScrollsOnlyWhenTheyMay) {
    ASSERT_TRUE(shell.loadMap(writeMap("C:\\MAPS\\W", 2000, 1600)));
    QWidget* view = &map->viewWidget();
    auto* moving = shell.window->widgets().movingMap;
    // Rows: the wheel's turn, a go-to box focused, and the zoom level then.
    struct Wheel {
        int delta;
        const char* focus;
        int zoom;
    } wheels[] = {{120, nullptr, 1},  {240, nullptr, 3},  {60, nullptr, 3},  {60, nullptr, 4},
                  {-120, "Latid", 4}, {-120, "Xtext", 4}, {-360, nullptr, 1}};
    for (const Wheel& w : wheels) {
        if (w.focus) shell.window->findChild<QWidget*>(w.focus)->setFocus();
        else view->setFocus();
        sendWheel(view, w.delta);
        EXPECT_EQ(map->view().zoom, w.zoom) << w.delta << (w.focus ? w.focus : "");
    }
    EXPECT_EQ(text("Ztext"), "Zoom=1");
    // The zoom words are spoken as with the buttons.
    const std::string lastSound = shell.device->opened().back();
    EXPECT_NE(lastSound.find("Mzoom1.WAV"), std::string::npos) << lastSound;

    // Drags: the map follows the pointer while the moving map is off.
    struct Drag {
        bool movingMap;
        const char* focus;
        bool scrolls;
    } drags[] = {{false, nullptr, true}, {true, nullptr, false}, {false, "Longi", false}};
    for (const Drag& d : drags) {
        moving->setChecked(d.movingMap);
        if (d.focus) shell.window->findChild<QWidget*>(d.focus)->setFocus();
        else view->setFocus();
        const int h = map->view().hScroll().value, v = map->view().vScroll().value;
        sendDrag(view, QPoint(300, 300), QPoint(200, 250));
        EXPECT_EQ(map->view().hScroll().value != h, d.scrolls) << d.movingMap << (d.focus ? d.focus : "");
        if (d.scrolls) {
            EXPECT_NEAR(map->view().hScroll().value, h + 100.0 * map->view().clip().width / map->view().viewWidth(), 1);
            EXPECT_GT(map->view().vScroll().value, v);
            EXPECT_EQ(map->viewWidget().shownClip().x, map->view().hScroll().value);
        }
    }
}

}  // namespace
}  // namespace tarvok::map

namespace tarvok::map {
namespace {

// Where two pictures of the same size differ: how many pixels, and the first.
std::string differences(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return "sizes differ";
    int n = 0;
    QPoint first;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && n++ == 0) first = {x, y};
    if (n == 0) return "";
    return std::to_string(n) + " pixels, the first at " + std::to_string(first.x()) + "," + std::to_string(first.y());
}

// A picture of the map view with the places of the widgets over it (the
// corner boxes) blacked out.
QImage withoutCovers(QImage picture, const QWidget& view) {
    QPainter painter(&picture);
    for (QObject* o : view.parentWidget()->children())
        if (auto* w = qobject_cast<QWidget*>(o); w && w != &view && w->isVisible())
            painter.fillRect(w->geometry().translated(-view.pos()), Qt::black);
    return picture;
}

// Each fix stamps only the trail's new stretch into the frame and repaints
// only its pixels and the cross's: what the screen shows must still equal
// the frame drawn afresh, trail and cross, at every stage of a drive.
TEST_F(MapWindowTest, AFixRepaintsTheTrailsNewStretchAndTheScreenEqualsAFullRedraw) {
    ASSERT_TRUE(shell.loadMap(
        writeMap("C:\\MAPS\\T", 600, 400, "T\r\nx\r\nx\r\n521000N0040000E,0,400\r\n522000N0043000E,600,0\r\n")));
    MapViewWidget& shown = map->viewWidget();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(shown.window()));
    // The smallest cross, so that its repaints leave most of each stretch to the trail's own.
    shell.control<QSlider>("Slider3")->setValue(0);
    // Legs of a drive (fixes, degrees a fix north and east): long straight
    // steps, whose middles lie beyond both crosses, a creep of less than a
    // pixel a fix, and a diagonal.
    struct Leg {
        int fixes;
        double north, east;
    } legs[] = {{10, 0, 0.04}, {6, 0.02, 0}, {12, 0.0002, 0.0001}, {8, -0.015, -0.03}};
    GeoPosition at{52.2, 4.02};
    for (const Leg& leg : legs) {
        for (int i = 0; i < leg.fixes; ++i) {
            at = {at.latitude + leg.north, at.longitude + leg.east};
            PixelPosition p;
            ASSERT_TRUE(GeoToPixel(map->calibration(), at.latitude, at.longitude, p));
            map->addTrailPosition(at);
            map->view().position = p;
            map->followPosition();
            QCoreApplication::processEvents();
        }
        const QImage frame = shown.grabFrame();
        MapViewWidget afresh(map->bitmap());
        afresh.showClip(shown.shownClip(), frame.width(), frame.height());
        afresh.setTrail(&map->trail(), &map->calibration());
        afresh.showMark(shown.mark());
        const QPoint corner = shown.mapTo(shown.window(), QPoint(0, 0));
        const QImage screen =
            shown.screen()
                ->grabWindow(shown.window()->winId(), corner.x(), corner.y(), frame.width(), frame.height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(differences(withoutCovers(screen, shown), withoutCovers(afresh.grabFrame(), shown)), "")
            << "after " << map->trail().size() << " fixes";
    }
}

}  // namespace
}  // namespace tarvok::map
