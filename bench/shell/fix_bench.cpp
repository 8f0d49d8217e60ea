// The navigator's window at work, as the program runs it (every window part
// wired, 1920 x 1080, painted on the offscreen platform, sound off):
//  - one GPS fix, RMC and GGA from a receiver on a pseudo-terminal (COM1),
//    shown on a 4096 x 3072 map at zoom 0: the process's CPU time per fix;
//    argument 0: fixes a tenth of a picture pixel apart (the trail rarely
//    grows), 1: fixes about 3 picture pixels apart (it grows at every fix);
//  - the radar screen before the first map: the share of a core it takes.
// Both against copying one map frame (the map picture's size) in this run.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPushButton>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <pty.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bench/bench_window.h"
#include "navigator/navigator_windows.h"
#include "navigator/shell/main_window.h"
#include "navigator/shell/shell_widgets.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/nmea_text.h"

namespace {

using namespace tarvok;
namespace fs = std::filesystem;

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Turns the event loop for `ms` of wall time, sleeping while nothing happens.
void turnEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A navigator window on a private prefix, every part wired as the program
// wires them, laid out for a 1920 x 1080 screen and shown.
struct BenchNavigator {
    tarvok::bench::BenchMainWindow main{DosPaths(tarvok::bench::privateFolder() / "prefix"), QSize(1920, 1080)};
    std::unique_ptr<NavigatorWindows> parts;
    BenchNavigator() {
        fs::create_directories(main.paths.toNative("C:\\TARVOK"));
        main.window->state().settings.gpsPort = '1';
        parts = std::make_unique<NavigatorWindows>(*main.window);
        main.window->formLoad();
        main.window->show();
        turnEventLoop(100);
    }
    QSize mapPicture() const { return main.window->picture1()->contentsRect().size(); }
};

double memcpyFrameMs(QSize frame) {
    std::vector<std::uint32_t> a(std::size_t(frame.width()) * frame.height(), 0x00ff00ffu), b(a.size());
    QElapsedTimer t;
    t.start();
    constexpr int kCopies = 200;
    for (int i = 0; i < kCopies; ++i) {
        std::memcpy(b.data(), a.data(), a.size() * sizeof(std::uint32_t));
        benchmark::ClobberMemory();
    }
    return double(t.nsecsElapsed()) / 1e6 / kCopies;
}

void BM_FixThroughTheWindow(benchmark::State& state) {
    BenchNavigator n;
    // A 4096 x 3072 map of 52 00' .. 52 30' N, 4 00' .. 4 40' E.
    const fs::path bmp = n.main.paths.toNative("C:\\MAPS\\AREA.BMP");
    fs::create_directories(bmp.parent_path());
    test::writeBmp(bmp.string(), 4096, 3072, 24, [](int y, std::uint8_t* px) {
        for (int x = 0; x < 4096; ++x, px += 3) px[0] = px[1] = px[2] = std::uint8_t((x ^ y) & 255);
    });
    std::ofstream(n.main.paths.toNative("C:\\MAPS\\AREA.des"), std::ios::binary)
        << "Area\r\nx\r\nx\r\n520000N0040000E,0,3072\r\n523000N0044000E,4096,0\r\n";
    n.main.dialogs.fileAnswers.push_back(bmp.string());
    n.main.window->widgets().loadMap->click();
    QElapsedTimer wait;
    wait.start();
    while ((n.parts->map.mapLoading() || n.parts->map.bitmap().levelCount() < 2) && wait.elapsed() < 20000)
        turnEventLoop(10);

    int master = -1, slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    fs::create_directories(n.main.paths.prefix() / "dosdevices");
    // A repetition of this benchmark finds the link of the one before.
    fs::remove(n.main.paths.prefix() / "dosdevices" / "com1");
    fs::create_symlink(name, n.main.paths.prefix() / "dosdevices" / "com1");
    n.main.window->widgets().navigate->click();
    turnEventLoop(300);

    long fixes = 0;
    double cpu = 0;
    for (auto _ : state) {
        const int s = int(fixes % 60);
        char time[16], lat[16], lon[16];
        std::snprintf(time, sizeof time, "1200%02d", s);
        if (state.range(0) == 0) std::snprintf(lat, sizeof lat, "5215.%03d", int(fixes % 1000));
        else  // 0.1' north a fix, from 52 05' to 52 25' and again
            std::snprintf(lat, sizeof lat, "52%02d.%03d", 5 + int(fixes / 10 % 20), int(fixes % 10) * 100);
        std::snprintf(lon, sizeof lon, "00420.%03d", int((fixes * 3) % 1000));
        const std::string nmea =
            test::nmeaSentence(std::string("GPRMC,") + time + ",A," + lat + ",N," + lon +
                               ",E,022.4,084.4,230394,003.1,W") +
            test::nmeaSentence(std::string("GPGGA,") + time + "," + lat + ",N," + lon + ",E,1,08,0.9,545.4,M,46.9,M,,");
        const double before = cpuMs();
        if (write(master, nmea.data(), nmea.size()) != ssize_t(nmea.size())) state.SkipWithError("write failed");
        turnEventLoop(40);  // the fix read, shown and painted; the rest of the second is idle
        cpu += cpuMs() - before;
        ++fixes;
    }
    n.main.window->widgets().navigate->click();
    turnEventLoop(100);
    close(master);
    close(slave);
    const double perFix = cpu / double(fixes);
    state.counters["cpu_ms_per_fix"] = perFix;
    state.counters["vs_memcpy_frame"] = perFix / memcpyFrameMs(n.mapPicture());
    state.counters["map_picture_px"] = double(n.mapPicture().width() * n.mapPicture().height());
}
BENCHMARK(BM_FixThroughTheWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(150);

// The radar screen sweeping before the first map: CPU time over wall time.
void BM_RadarScreen(benchmark::State& state) {
    BenchNavigator n;
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const double before = cpuMs();
        turnEventLoop(2000);
        cpu += cpuMs() - before;
        wall += double(t.nsecsElapsed()) / 1e6;
    }
    const double share = cpu / wall;
    state.counters["core_percent"] = 100 * share;
    // A second's CPU against copying one map frame.
    state.counters["cpu_ms_per_s_vs_memcpy_frame"] = share * 1000 / memcpyFrameMs(n.mapPicture());
}
BENCHMARK(BM_RadarScreen)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
