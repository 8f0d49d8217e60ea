// The position cross on the map, read from a grab of the real main window:
// whatever put the position there (a received fix, a played route, an
// imported track, the go-to buttons, the map search), at every zoom level,
// with the moving map on and off, the cross's centre is on a screen pixel
// that shows the position's map pixel, within one pixel.
#include <QCheckBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

#include "common/text.h"
#include "navigator/map/map_view_widget.h"
#include "navigator/navigator_windows.h"
#include "navigator/route/route_file.h"
#include "navigator/shell/main_window.h"
#include "tests/navigator/gps/pty.h"
#include "tests/navigator/route/track/track_test_lines.h"
#include "tests/navigator/shell/window_fixture.h"
#include "tests/support/wait_for.h"

namespace tarvok {
namespace {

namespace fs = std::filesystem;
using map::PixelPosition;
using test::waitFor;

// 400 x 300 pixels from 52 10' N 4 00' E (lower left) to 52 20' N 4 30' E.
constexpr int kW = 400, kH = 300;
constexpr double kTop = 52.0 + 20.0 / 60, kBottom = 52.0 + 10.0 / 60, kLeft = 4.0, kRight = 4.5;
constexpr const char* kCorners = "Grid\r\nx\r\nx\r\n521000N0040000E,0,300\r\n522000N0043000E,400,0\r\n";

// Every map pixel has its own colour: the low bits of x and y in red and
// green, the high bits in blue (64 to 81, never a colour of the cross).
QRgb gridColour(int x, int y) { return qRgb(x & 255, y & 255, 64 + (x >> 8) * 16 + (y >> 8)); }
std::optional<PixelPosition> gridPixel(QRgb c) {
    const int b = qBlue(c) - 64;
    if (b < 0 || b > 17 || (b & 15) > 1) return std::nullopt;
    return PixelPosition{qRed(c) + (b >> 4) * 256, qGreen(c) + (b & 15) * 256};
}

enum class Caller { Navigation, RoutePlayback, TrackImport, GoToPixel, GoToLatLon, MapSearch };
const char* callerName(Caller c) {
    constexpr const char* names[] = {"navigation", "route playback", "track import", "XY", "LaLo", "FIND"};
    return names[int(c)];
}

// Where the test puts the position, taken in turn: near the upper left, in
// the middle, near the lower right (where the scroll bars end).
constexpr PixelPosition kPlaces[] = {{60, 40}, {203, 151}, {331, 251}};

struct PositionMark : ::testing::Test {
    test::ShellWindow shell{test::WindowOptions{'1', '0'}};
    std::unique_ptr<NavigatorWindows> parts;
    test::Pty pty;
    long fixes = 0;

    void SetUp() override {
        RouteWindowPlayback::setEndTextDuration(std::chrono::milliseconds(10));
        parts = std::make_unique<NavigatorWindows>(*shell.window);
        shell.open();
        fs::create_directories(shell.prefix.paths().toNative("C:\\TARVOK"));
        QImage grid(kW, kH, QImage::Format_RGB32);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) grid.setPixel(x, y, gridColour(x, y));
        const auto bitmap = shell.prefix.writeDos("C:\\MAPS\\GRID.BMP", "");
        ASSERT_TRUE(grid.save(QString::fromStdString(bitmap.string()), "BMP"));
        shell.prefix.writeDos("C:\\MAPS\\GRID.des", kCorners);
        ASSERT_TRUE(shell.loadMap(bitmap.string()));
        c().buildMapDatabase->click();  // FIND searches it
        ASSERT_TRUE(pty.ok());
        fs::create_directories(shell.prefix.prefix() / "dosdevices");
        fs::create_symlink(pty.slaveName(), shell.prefix.prefix() / "dosdevices" / "com1");
    }
    void TearDown() override {
        parts.reset();
        RouteWindowPlayback::setEndTextDuration(std::chrono::milliseconds(2000));
    }

    const MainWindowControls& c() { return shell.window->widgets(); }
    void type(QLineEdit* box, const std::string& text) { box->setText(QString::fromStdString(text)); }
    static double latitudeOf(int y) { return kTop - (y - 1.0) / kH * (kTop - kBottom); }
    static double longitudeOf(int x) { return kLeft + double(x) / kW * (kRight - kLeft); }
    static std::string degrees(double v) {
        char s[32];
        std::snprintf(s, sizeof s, "%.9f", v);
        return s;
    }

    // The level, the moving-map box and, with the map not following, the
    // bars scrolled by hand so that `p` lies in the view but off its centre.
    void prepareView(int zoom, bool movingMap, PixelPosition p) {
        c().movingMap->setChecked(movingMap);
        // The trail runs under the cross and covers the map pixels this test
        // reads around it.
        c().trail->setChecked(false);
        shell.window->state().targetZoomLevel = zoom;
        parts->map.zoomToLevel();
        ASSERT_EQ(parts->map.view().zoom, zoom);
        if (zoom == 0 || movingMap) return;
        const map::ClipRect& clip = parts->map.view().clip();
        c().mapHScroll->setValue(std::clamp(p.x - clip.width / 4, 0, c().mapHScroll->maximum()));
        c().mapVScroll->setValue(std::clamp(p.y - clip.height * 3 / 4, 0, c().mapVScroll->maximum()));
    }

    template <class Sender, class Signal>
    bool runUntil(Sender* sender, Signal signal) {
        QEventLoop loop;
        QObject::connect(sender, signal, &loop, &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, [&loop] { loop.exit(1); });
        return loop.exec() == 0;
    }

    // Puts the position on map pixel `p` the way `caller` does.
    void place(Caller caller, PixelPosition p) {
        const double lat = latitudeOf(p.y), lon = longitudeOf(p.x);
        switch (caller) {
        case Caller::Navigation: {
            if (parts->navigation.state() != gps::NavigationLoop::State::Receiving) {
                c().navigate->click();
                ASSERT_TRUE(
                    waitFor([&] { return parts->navigation.state() == gps::NavigationLoop::State::Receiving; }));
            }
            const double minutes[2] = {(lat - 52) * 60, (lon - 4) * 60};
            char body[128];
            std::snprintf(body, sizeof body, "GPRMC,120000,A,52%08.5f,N,004%08.5f,E,000.0,000.0,230394,,", minutes[0],
                          minutes[1]);
            unsigned sum = 0;
            for (const char* q = body; *q; ++q) sum ^= static_cast<unsigned char>(*q);
            char line[160];
            std::snprintf(line, sizeof line, "$%s*%02X\r\n", body, sum);
            const long before = parts->navigation.fixesShown();
            ASSERT_TRUE(pty.write(line));
            ASSERT_TRUE(waitFor([&] { return parts->navigation.fixesShown() > before; }));
            break;
        }
        case Caller::RoutePlayback: {
            route::RouteRecord r;
            r.type = 'M';
            r.timeStamp = double(route::routeSecondsNow() - 100);
            r.latHemisphere = 'N';
            r.latitude = lat;
            r.lonHemisphere = 'E';
            r.longitude = lon;
            r.speedUnit = '1';
            const std::string file = route::routeFilePath('C');
            fs::remove(shell.prefix.paths().toNative(file));
            ASSERT_EQ(route::appendRouteBlock(shell.prefix.paths(), file, {r}), std::nullopt);
            shell.window->state().settings.routeSource = '0';
            if (shell.window->state().playbackActive != 1) c().routePlayback->click();
            c().playbackSpeed->setValue(0);  // search mode: the first record is shown
            QTimer::singleShot(0, c().play, &QPushButton::click);
            ASSERT_TRUE(runUntil(&parts->routePlayback, &RouteWindowPlayback::finished));
            break;
        }
        case Caller::TrackImport: {
            const auto file = shell.prefix.root() / "drive.txt";
            char la[16], lo[16];
            std::snprintf(la, sizeof la, "%010.7f", lat);
            std::snprintf(lo, sizeof lo, "%010.7f", lon);
            test::writeFile(file, "H\r" + test::txtLine(la, lo));
            shell.dialogs.fileAnswers.push_back(file.string());
            QTimer::singleShot(0, [this] { parts->trackImport.ImportTrack(); });
            ASSERT_TRUE(runUntil(&parts->trackImport.playback(), &TrackPlayback::finished));
            break;
        }
        case Caller::GoToPixel:
            type(c().pixelX, integerText(p.x));
            type(c().pixelY, integerText(p.y));
            c().goToPixel->click();
            break;
        case Caller::GoToLatLon:
        case Caller::MapSearch:
            type(c().latitude, degrees(lat));
            type(c().longitude, degrees(lon));
            type(c().northSouth, "N");
            type(c().eastWest, "E");
            (caller == Caller::GoToLatLon ? c().goToCoordinates : c().findMap)->click();
            shell.settleMap();  // FIND reads its map on a worker
            break;
        }
    }

    // The centre of the cross in a grab of the window: the row and the
    // column of the map view holding most pixels in the cross's colour.
    static std::optional<QPoint> crossCentre(const QImage& grab, const QRect& view) {
        std::vector<int> rows(std::size_t(view.height())), columns(std::size_t(view.width()));
        for (int y = 0; y < view.height(); ++y)
            for (int x = 0; x < view.width(); ++x)
                if (grab.pixel(view.x() + x, view.y() + y) == qRgb(100, 0, 100))
                    ++rows[std::size_t(y)], ++columns[std::size_t(x)];
        auto most = [](const std::vector<int>& v) { return int(std::max_element(v.begin(), v.end()) - v.begin()); };
        const int row = most(rows), column = most(columns);
        if (rows[std::size_t(row)] < 3 || columns[std::size_t(column)] < 3) return std::nullopt;
        return QPoint(view.x() + column, view.y() + row);
    }

    // Checks that the cross's centre, or one of its eight neighbours, shows
    // the position's map pixel (the one Xtext and Ytext give).
    void expectCrossOnPosition(const std::string& what) {
        const PixelPosition expected{int(numericValue(utf8ToCp1252(c().pixelX->text().toStdString()))),
                                     int(numericValue(utf8ToCp1252(c().pixelY->text().toStdString())))};
        const QImage grab = shell.window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const map::MapViewWidget& view = parts->map.viewWidget();
        const QRect viewRect(view.mapTo(shell.window.get(), QPoint(0, 0)), view.size());
        const std::optional<QPoint> centre = crossCentre(grab, viewRect);
        ASSERT_TRUE(centre) << what << ": no cross in the window";
        std::string seen;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const std::optional<PixelPosition> shown = gridPixel(grab.pixel(centre->x() + dx, centre->y() + dy));
                if (shown && *shown == expected) return;
                if (shown) seen += " " + std::to_string(shown->x) + "," + std::to_string(shown->y);
            }
        ADD_FAILURE() << what << ": the cross at window pixel " << centre->x() << "," << centre->y()
                      << " shows map pixels" << seen << ", not " << expected.x << "," << expected.y;
    }
};

TEST_F(PositionMark, EveryCallerAtEveryZoomLevelPutsTheCrossOnThePositionsMapPixel) {
    int turn = 0;
    for (Caller caller : {Caller::Navigation, Caller::RoutePlayback, Caller::TrackImport, Caller::GoToPixel,
                          Caller::GoToLatLon, Caller::MapSearch}) {
        for (int zoom = 0; zoom <= map::kMaxZoomLevel; ++zoom)
            for (bool movingMap : {false, true}) {
                const PixelPosition p = kPlaces[turn++ % 3];
                const std::string what = std::string(callerName(caller)) + ", zoom " + std::to_string(zoom) +
                                         (movingMap ? ", moving map" : ", fixed map");
                prepareView(zoom, movingMap, p);
                place(caller, p);
                if (HasFatalFailure()) return;
                expectCrossOnPosition(what);
            }
        if (caller == Caller::Navigation) {
            c().navigate->click();  // stops
            ASSERT_TRUE(waitFor([&] { return parts->navigation.state() == gps::NavigationLoop::State::Idle; }));
        }
    }
}

}  // namespace
}  // namespace tarvok
