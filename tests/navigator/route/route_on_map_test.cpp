// Route playback through the real map view and UpdatePosition: a route file
// written by the same block writer the navigation loop uses is played on a
// loaded map, and the position lands on the pixels the map conversion gives.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QEventLoop>
#include <QSlider>
#include <QTimer>
#include <filesystem>

#include "navigator/gps/position_display.h"
#include "navigator/map/map_window.h"
#include "navigator/navigator_windows.h"
#include "navigator/route/route_file.h"
#include "navigator/route/route_window.h"
#include "tests/navigator/shell/window_fixture.h"
#include "tests/support/playback_clocks.h"

namespace tarvok {
namespace {

// Map DELFT, 600 x 400 pixels, 52 10' N .. 52 20' N, 4 00' E .. 4 30' E.
constexpr const char* kCorners = "Delft\r\nx\r\nx\r\n521000N0040000E,0,400\r\n522000N0043000E,600,0\r\n";

struct RouteOnMap : ::testing::Test {
    test::ShellWindow shell{test::WindowOptions{'1', '0'}};
    std::unique_ptr<map::MapWindow> map;
    std::unique_ptr<gps::PositionDisplay> display;
    std::unique_ptr<RouteWindowPlayback> route;
    std::vector<map::PixelPosition> pixels;
    test::UnpacedPlaybackClock clock;

    void SetUp() override {
        RouteWindowPlayback::setEndTextDuration(std::chrono::milliseconds(10));
        map = std::make_unique<map::MapWindow>(mapWindowLinks(*shell.window), shell.window.get());
        display = std::make_unique<gps::PositionDisplay>(positionDisplayLinks(*shell.window), *map);
        shell.open();
        ASSERT_TRUE(shell.loadMap(shell.writeMap("C:\\MAPS\\DELFT", 600, 400, kCorners)));

        route = std::make_unique<RouteWindowPlayback>(routePlaybackLinks(*shell.window), nullptr, display.get(), clock);
        QObject::connect(route.get(), &RouteWindowPlayback::recordShown,
                         [this](std::int64_t) { pixels.push_back(display->positionPixel()); });
    }
    void TearDown() override {
        RouteWindowPlayback::setEndTextDuration(std::chrono::milliseconds(2000));
        route.reset();
        display.reset();
        map.reset();
    }
};

TEST_F(RouteOnMap, RecordedBlockPlaysOnTheMapAndRecordsNothing) {
    // A drive eastward along 52 15' N, as navigation records it.
    std::vector<route::RouteRecord> points;
    for (int i = 0; i < 501; ++i) {
        route::RouteRecord r;
        r.type = 'M';
        r.timeStamp = static_cast<double>(route::routeSecondsNow() - 1000 + i);
        r.latHemisphere = 'N';
        r.latitude = 52.25;
        r.lonHemisphere = 'E';
        r.longitude = 4.0 + 0.5 * i / 500.0;
        r.speed = 41;
        r.speedUnit = '1';
        r.course = 90;
        points.push_back(r);
    }
    std::filesystem::create_directories(shell.prefix.paths().toNative("C:\\TARVOK"));
    ASSERT_EQ(route::appendRouteBlock(shell.prefix.paths(), route::routeFilePath('C'), points), std::nullopt);

    shell.button("Command1")->click();
    shell.control<QSlider>("Slider1")->setValue(6);  // every 64th record
    QEventLoop loop;
    QObject::connect(route.get(), &RouteWindowPlayback::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    shell.button("Play1")->click();
    loop.exec();
    ASSERT_EQ(pixels.size(), 7u);  // records 64, 128, ..., 448
    for (std::size_t k = 0; k < pixels.size(); ++k) {
        const double lon = 4.0 + 0.5 * (64.0 * static_cast<double>(k + 1) - 1) / 500.0;
        EXPECT_NEAR(pixels[k].x, (lon - 4.0) / 0.5 * 600, 1) << k;
        EXPECT_NEAR(pixels[k].y, 201, 1) << k;
    }
    EXPECT_EQ(shell.box("Xtext")->text().toInt(), pixels.back().x);
    EXPECT_EQ(shell.box("Speed")->text(), "41");
    EXPECT_EQ(shell.box("Smode")->text(), "kmh");
    EXPECT_EQ(shell.box("Windr")->text(), " O");
    // Playback fills no route point: nothing would be recorded.
    EXPECT_FALSE(display->routePointFilled());
}

}  // namespace
}  // namespace tarvok
