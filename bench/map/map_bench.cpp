// Load and redraw of a 16384 x 12288 24-bit map (576 MB as a BMP file) in a
// 1690 x 995 map picture. Each figure comes with its ratio to a reference
// measured in the same run: the load against reading the file the way `cat`
// does, the memory against the file's pixels, the redraw against copying
// one frame.
//
// The map file is generated at $TARVOK_BENCH_MAP once and kept for later
// runs (without it, in a private folder removed at the end).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bench/bench_window.h"
#include "bench/private_folder.h"
#include "navigator/map/map_bitmap.h"
#include "navigator/map/map_view_state.h"
#include "navigator/map/map_view_widget.h"
#include "navigator/map/map_window.h"
#include "navigator/map/trail.h"
#include "navigator/navigator_windows.h"
#include "tests/support/bmp_writer.h"

namespace {

using namespace tarvok;
using namespace tarvok::map;

constexpr int kMapWidth = 16384, kMapHeight = 12288;
constexpr int kViewWidth = 1690, kViewHeight = 995;
constexpr double kFilePixelBytes = double(kMapWidth) * 3 * kMapHeight;

std::string mapFile() {
    static const std::string path = [] {
        const std::string p = tarvok::bench::benchPath("TARVOK_BENCH_MAP", "map-16384x12288.bmp").string();
        const std::uintmax_t expected = 54 + std::uintmax_t(kMapWidth) * 3 * kMapHeight;
        std::error_code ec;
        if (std::filesystem::file_size(p, ec) != expected) {
            // Something map-like: tinted blocks, a grid of roads every 256 pixels.
            tarvok::test::writeBmp(p, kMapWidth, kMapHeight, 24, [](int y, std::uint8_t* px) {
                for (int x = 0; x < kMapWidth; ++x, px += 3) {
                    const bool road = (x & 255) < 3 || (y & 255) < 3;
                    px[0] = road ? 40 : std::uint8_t(180 + ((x >> 6) & 63));
                    px[1] = road ? 40 : std::uint8_t(200 + ((y >> 7) & 31));
                    px[2] = road ? 200 : std::uint8_t(((x ^ y) >> 4) & 255);
                }
            });
        }
        return p;
    }();
    return path;
}

MapBitmap& benchMap() {
    static MapBitmap* bitmap = [] {
        auto* b = new MapBitmap;
        if (b->load(QString::fromStdString(mapFile())) != MapBitmap::LoadError::None) std::abort();
        return b;
    }();
    return *bitmap;
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// References measured in this run, by benchmark argument (0 warm, 1 cold).
double catMs[2] = {0, 0};
double memcpyFrameMs = 0;

// Arg 1: the file is dropped from the page cache before each repetition.
void dropFromCacheIf(const benchmark::State& state, const std::string& path) {
    if (state.range(0) == 0) return;
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) return;
    fdatasync(fd);
    posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    close(fd);
}

// Reads the file the way `cat` does: 128 kB at a time into one buffer; its
// time in milliseconds.
double catFile(const std::string& path) {
    static std::vector<char> buffer(128 << 10);
    QElapsedTimer t;
    t.start();
    const int fd = open(path.c_str(), O_RDONLY);
    while (read(fd, buffer.data(), buffer.size()) > 0) {}
    close(fd);
    return double(t.nsecsElapsed()) / 1e6;
}

void BM_CatFile(benchmark::State& state) {
    const std::string path = mapFile();
    std::vector<double> times;
    for (auto _ : state) {
        state.PauseTiming();
        dropFromCacheIf(state, path);
        state.ResumeTiming();
        times.push_back(catFile(path));
    }
    catMs[state.range(0)] = median(times);
    state.counters["cat_ms"] = catMs[state.range(0)];
}
BENCHMARK(BM_CatFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// On a shared machine a read's time is compared with a `cat` of the file
// right before it; the ratio is the median of these pairs' ratios. What
// `read` returns is let go after the time is taken.
template <class Read>
double medianRatioToCat(benchmark::State& state, const std::string& path, Read read) {
    std::vector<double> ratio;
    for (auto _ : state) {
        state.PauseTiming();
        const double cat = catFile(path);
        state.ResumeTiming();
        QElapsedTimer t;
        t.start();
        const auto kept = read();
        ratio.push_back(double(t.nsecsElapsed()) / 1e6 / cat);
    }
    return median(ratio);
}

// The floor of reading into memory: fread into a fresh buffer.
void BM_PlainFileRead(benchmark::State& state) {
    const std::string path = mapFile();
    const std::size_t size = std::filesystem::file_size(path);
    state.counters["vs_cat"] = medianRatioToCat(state, path, [&] {
        std::vector<char> buffer(size);
        std::FILE* f = std::fopen(path.c_str(), "rb");
        std::size_t n = 0, got = 0;
        while ((got = std::fread(buffer.data() + n, 1, std::min<std::size_t>(8 << 20, buffer.size() - n), f)) > 0)
            n += got;
        std::fclose(f);
        benchmark::DoNotOptimize(buffer.data());
        return buffer;
    });
}
BENCHMARK(BM_PlainFileRead)->Unit(benchmark::kMillisecond)->Iterations(3);

// The worker's part of a load: the file read into the image's final layout,
// with the overview of the whole map the first frame shows.
void BM_ReadMapImage(benchmark::State& state) {
    const QString path = QString::fromStdString(mapFile());
    state.counters["vs_cat"] = medianRatioToCat(state, mapFile(), [&] {
        MapBitmap::ReadImage r = MapBitmap::read(path, nullptr, QSize(kViewWidth, kViewHeight));
        if (r.error != MapBitmap::LoadError::None) state.SkipWithError("read failed");
        return r;
    });
}
BENCHMARK(BM_ReadMapImage)->Unit(benchmark::kMillisecond)->Iterations(3);

// The main window with its map view, on a private prefix whose
// C:\\MAPS\\BIG.BMP is the benchmark map.
struct BenchWindow {
    tarvok::bench::BenchMainWindow main;
    std::unique_ptr<MapWindow> map;
    BenchWindow() {
        const auto native = main.paths.toNative("C:\\MAPS\\BIG.BMP");
        std::filesystem::create_directories(native.parent_path());
        std::error_code ec;
        if (!std::filesystem::exists(native, ec))
            std::filesystem::create_symlink(std::filesystem::absolute(mapFile()), native);
        map = std::make_unique<MapWindow>(mapWindowLinks(*main.window), main.window.get());
        main.window->formLoad();
    }
};

struct LoadFigures {
    double shownMs = 0;       // request to the new map's first frame
    double pyramidMs = 0;     // request to the halved copies in place
    double maxBlockedMs = 0;  // the longest the window's thread did not turn
};

// Loads the benchmark map through LoadMapBitmap, as an automatic map switch
// does, turning the window's event loop meanwhile; a 1 ms timer measures
// how long the loop is held up at a time.
LoadFigures loadThroughWindow(BenchWindow& w) {
    QElapsedTimer t;
    t.start();
    qint64 last = 0, longest = 0;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = t.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start();
    LoadFigures f;
    double shownAt = -1;
    w.map->LoadMapBitmap({"C:\\MAPS\\BIG.BMP", std::nullopt, false}, [&](bool loaded) {
        if (!loaded) std::abort();
        w.map->viewWidget().grabFrame();  // what the next paint does
        shownAt = double(t.nsecsElapsed()) / 1e6;
    });
    while ((shownAt < 0 || w.map->bitmap().levelCount() < 2) && t.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    f.shownMs = shownAt;
    f.pyramidMs = double(t.nsecsElapsed()) / 1e6;
    f.maxBlockedMs = double(longest) / 1e6 - 1;  // less the timer's own interval
    return f;
}

// The map switch: from the request to the map on screen, against `cat` of
// the file (arg 0 warm, 1 cold page cache), and how long the window's
// thread is held up at a time meanwhile. On a shared machine the two are
// measured in pairs, one right after the other, and the ratio is the
// median of the pairs' ratios.
void BM_LoadMapShown(benchmark::State& state) {
    BenchWindow w;
    std::vector<double> shown, pyramid, cat, ratio;
    double blocked = 0;
    for (auto _ : state) {
        state.PauseTiming();
        dropFromCacheIf(state, mapFile());
        cat.push_back(catFile(mapFile()));
        dropFromCacheIf(state, mapFile());
        state.ResumeTiming();
        const LoadFigures f = loadThroughWindow(w);
        shown.push_back(f.shownMs);
        pyramid.push_back(f.pyramidMs);
        ratio.push_back(f.shownMs / cat.back());
        blocked = std::max(blocked, f.maxBlockedMs);
    }
    state.counters["cat_ms"] = median(cat);
    state.counters["shown_ms"] = median(shown);
    state.counters["shown_vs_cat"] = median(ratio);
    state.counters["pyramid_ms"] = median(pyramid);
    state.counters["max_blocked_ms"] = blocked;
    state.counters["max_blocked_vs_cat"] = blocked / median(cat);
}
BENCHMARK(BM_LoadMapShown)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

// The memory a window holding the map needs, pyramid included, against
// the file's pixels (16384 x 12288 x 3 bytes).
void BM_MapMemory(benchmark::State& state) {
    double held = 0, grown = 0;
    for (auto _ : state) {
        BenchWindow w;
        const long before = residentKilobytes();
        loadThroughWindow(w);
        grown = double(residentKilobytes() - before) * 1024;
        held = double(w.map->bitmap().bytesHeld());
    }
    state.counters["held_vs_file_pixels"] = held / kFilePixelBytes;
    state.counters["resident_growth_vs_file_pixels"] = grown / kFilePixelBytes;
}
BENCHMARK(BM_MapMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// The reference of the redraw: copying one view frame.
void BM_MemcpyFrame(benchmark::State& state) {
    std::vector<std::uint32_t> a(std::size_t(kViewWidth) * kViewHeight, 0x00ff00ffu), b(a.size());
    QElapsedTimer t;
    t.start();
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * sizeof(std::uint32_t));
        benchmark::ClobberMemory();
    }
    memcpyFrameMs = double(t.nsecsElapsed()) / 1e6 / double(state.iterations());
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);

// One GPS fix with the moving map: a new bitmap position, the recentring
// scroll, the clip rendered from the pyramid when it moved (at zoom 0 the
// whole map stays in view, so only the cross changes), the cross, and the
// frame painted onto a screen-sized image.
void BM_RedrawMovingMap(benchmark::State& state) {
    const int zoom = int(state.range(0));
    MapBitmap& bitmap = benchMap();
    MapViewWidget widget(bitmap);
    widget.resize(kViewWidth, kViewHeight);
    MapViewState view(&widget);
    view.setBitmapSize(bitmap.width(), bitmap.height());
    view.setViewSize(kViewWidth, kViewHeight);
    view.crossSize = 2;
    view.zoom = zoom;
    view.position = {kMapWidth / 2, kMapHeight / 2};
    view.ApplyZoom();
    QImage screen(kViewWidth, kViewHeight, QImage::Format_RGB32);
    int fix = 0;
    QElapsedTimer t;
    t.start();
    for (auto _ : state) {
        view.position = {kMapWidth / 4 + (fix * 37) % (kMapWidth / 2), kMapHeight / 4 + (fix * 23) % (kMapHeight / 2)};
        ++fix;
        view.CentreOnPosition();
        view.RefreshMapView();
        view.DrawPositionMark();
        QPainter painter(&screen);
        widget.paintFrame(painter);
    }
    state.counters["vs_memcpy_frame"] = double(t.nsecsElapsed()) / 1e6 / double(state.iterations()) / memcpyFrameMs;
    state.counters["pyramid_level"] = bitmap.levelFor(view.clip().width, view.clip().height, kViewWidth, kViewHeight);
}
BENCHMARK(BM_RedrawMovingMap)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// The naive way: the full bitmap drawn with smooth scaling, the same clip
// mapped onto the view.
void BM_NaiveDrawImage(benchmark::State& state) {
    const int zoom = int(state.range(0));
    const QImage& full = benchMap().level(0);
    const double w = double(kMapWidth >> zoom), h = double(kMapHeight >> zoom);
    const QRectF clip((kMapWidth - w) / 2, (kMapHeight - h) / 2, w, h);
    QImage screen(kViewWidth, kViewHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&screen);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(0, 0, kViewWidth, kViewHeight), full, clip);
    }
}
BENCHMARK(BM_NaiveDrawImage)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// Another naive way: the clip cut out and scaled smoothly (area averaged)
// to the view for every redraw.
void BM_NaiveScaledClip(benchmark::State& state) {
    const int zoom = int(state.range(0));
    const QImage& full = benchMap().level(0);
    const int w = kMapWidth >> zoom, h = kMapHeight >> zoom;
    const QRect clip((kMapWidth - w) / 2, (kMapHeight - h) / 2, w, h);
    for (auto _ : state) {
        QImage frame = full.copy(clip).scaled(kViewWidth, kViewHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_NaiveScaledClip)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

namespace {
void BM_RenderClipOnly(benchmark::State& state) {
    const int zoom = int(state.range(0));
    MapBitmap& bitmap = benchMap();
    const double w = double(kMapWidth >> zoom), h = double(kMapHeight >> zoom);
    const QRectF clip((kMapWidth - w) / 2, (kMapHeight - h) / 2, w, h);
    QImage frame(kViewWidth, kViewHeight, QImage::Format_RGB32);
    for (auto _ : state) bitmap.renderClip(clip, frame);
}
BENCHMARK(BM_RenderClipOnly)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);
}  // namespace

namespace {

// The trail: 10,000 fixes of a drive over the benchmark's map (one a
// second at 15 m/s, turning slowly, kept inside the map), the view following
// each fix with the moving map. Argument 2 says whether the trail is drawn,
// so both variants render the same frames and the difference is the trail's
// own cost; the variant without it is the reference of the same run.
constexpr std::size_t kTrailFixes = 10000;

tarvok::map::MapCalibration benchCalibration() {
    tarvok::map::MapCalibration map;
    map.width = kMapWidth;
    map.height = kMapHeight;
    map.edges = {52.30, 52.00, 4.00, 4.60};  // about 2.5 m a pixel
    return map;
}

std::vector<GeoPosition> benchDrive(std::size_t fixes) {
    const auto map = benchCalibration();
    std::vector<GeoPosition> drive;
    double lat = 52.15, lon = 4.30, heading = 0.3;
    for (std::size_t i = 0; i < fixes; ++i) {
        heading += 0.05 * std::sin(double(i) / 37.0);
        lat += 15.0 / 111195 * std::cos(heading);
        lon += 15.0 / (111195 * 0.613) * std::sin(heading);
        if (lat < map.edges.bottom + 0.02 || lat > map.edges.top - 0.02 || lon < map.edges.left + 0.02 ||
            lon > map.edges.right - 0.02)
            heading += 3.14159265358979 / 2;
        drive.push_back({lat, lon});
    }
    return drive;
}

void BM_RedrawWithTrail(benchmark::State& state) {
    const int zoom = int(state.range(0));
    const bool drawn = state.range(1) != 0;
    MapBitmap& bitmap = benchMap();
    const MapCalibration map = benchCalibration();
    const std::vector<GeoPosition> drive = benchDrive(kTrailFixes);
    Trail trail;
    for (const GeoPosition& p : drive) trail.add(p);
    MapViewWidget widget(bitmap);
    widget.resize(kViewWidth, kViewHeight);
    widget.setTrail(&trail, &map);
    widget.setTrailShown(drawn);
    MapViewState view(&widget);
    view.setBitmapSize(bitmap.width(), bitmap.height());
    view.setViewSize(kViewWidth, kViewHeight);
    view.crossSize = 2;
    view.zoom = zoom;
    view.ApplyZoom();
    QImage screen(kViewWidth, kViewHeight, QImage::Format_RGB32);
    std::size_t fix = 0;
    for (auto _ : state) {
        // The fixes of the last stretch of the drive, the newest at the cross.
        const GeoPosition& g = drive[kTrailFixes - 1 - (fix++ % 500)];
        PixelPosition p;
        GeoToPixel(map, g.latitude, g.longitude, p);
        view.position = p;
        view.CentreOnPosition();
        view.RefreshMapView();
        view.DrawPositionMark();
        QPainter painter(&screen);
        widget.paintFrame(painter);
    }
    state.counters["trail_positions"] = double(trail.size());
}
BENCHMARK(BM_RedrawWithTrail)->ArgsProduct({{0, 3, 5}, {0, 1}})->Unit(benchmark::kMillisecond);

// The trail alone: laid out and drawn over an already rendered frame.
void BM_TrailOnly(benchmark::State& state) {
    const int zoom = int(state.range(0));
    const MapCalibration map = benchCalibration();
    const std::vector<GeoPosition> drive = benchDrive(kTrailFixes);
    const GeoPosition& last = drive.back();
    const BitmapPoint centre = geoToBitmap(map, last.latitude, last.longitude);
    const double w = double(kMapWidth >> zoom), h = double(kMapHeight >> zoom);
    const ClipRect clip{std::int32_t(std::clamp(centre.x - w / 2, 0.0, kMapWidth - w)),
                        std::int32_t(std::clamp(centre.y - h / 2, 0.0, kMapHeight - h)), std::int32_t(w),
                        std::int32_t(h)};
    std::size_t kept = 0;
    QImage screen(kViewWidth, kViewHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        const auto lines = trailInView(drive, map, clip, kViewWidth, kViewHeight);
        MapViewWidget::paintTrail(screen, lines);
        kept = 0;
        for (const auto& line : lines) kept += line.size();
    }
    state.counters["points_drawn"] = double(kept);
}
BENCHMARK(BM_TrailOnly)->Arg(0)->Arg(3)->Arg(5)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {
// The trail's layout alone: 10,000 positions to lines in the picture.
void BM_TrailLayout(benchmark::State& state) {
    const MapCalibration map = benchCalibration();
    const std::vector<GeoPosition> drive = benchDrive(kTrailFixes);
    const ClipRect clip{0, 0, kMapWidth >> state.range(0), kMapHeight >> state.range(0)};
    for (auto _ : state) benchmark::DoNotOptimize(trailInView(drive, map, clip, kViewWidth, kViewHeight));
}
BENCHMARK(BM_TrailLayout)->Arg(0)->Arg(5)->Unit(benchmark::kMicrosecond);
}  // namespace
