// Load and redraw of a 16384 x 12288 24-bit map (576 MB as a BMP file) in a
// 1690 x 995 map picture.
//
// The map file is generated once at $TARVOK_BENCH_MAP (default
// /tmp/tarvok-bench-16384x12288.bmp) and kept for later runs.
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "navigator/map/map_bitmap.h"
#include "navigator/map/map_view_state.h"
#include "navigator/map/map_view_widget.h"
#include "navigator/map/trail.h"
#include <algorithm>
#include <cmath>
#include "tests/support/bmp_writer.h"

namespace {

using namespace tarvok::map;

constexpr int kMapWidth = 16384, kMapHeight = 12288;
constexpr int kViewWidth = 1690, kViewHeight = 995;

std::string mapFile() {
    const char* p = std::getenv("TARVOK_BENCH_MAP");
    std::string path = p && *p ? p : "/tmp/tarvok-bench-16384x12288.bmp";
    const std::uintmax_t expected = 54 + std::uintmax_t(kMapWidth) * 3 * kMapHeight;
    std::error_code ec;
    if (std::filesystem::file_size(path, ec) != expected) {
        // Something map-like: tinted blocks, a grid of roads every 256 pixels.
        tarvok::test::writeBmp(path, kMapWidth, kMapHeight, 24, [](int y, std::uint8_t* px) {
            for (int x = 0; x < kMapWidth; ++x, px += 3) {
                const bool road = (x & 255) < 3 || (y & 255) < 3;
                px[0] = road ? 40 : std::uint8_t(180 + ((x >> 6) & 63));
                px[1] = road ? 40 : std::uint8_t(200 + ((y >> 7) & 31));
                px[2] = road ? 200 : std::uint8_t(((x ^ y) >> 4) & 255);
            }
        });
    }
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

void BM_PlainFileRead(benchmark::State& state) {
    const std::string path = mapFile();
    std::vector<char> buffer(std::filesystem::file_size(path));
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        std::size_t n = 0, got = 0;
        while ((got = std::fread(buffer.data() + n, 1, std::min<std::size_t>(8 << 20, buffer.size() - n), f)) > 0)
            n += got;
        std::fclose(f);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(buffer.size()));
}
BENCHMARK(BM_PlainFileRead)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadMap(benchmark::State& state) {
    const QString path = QString::fromStdString(mapFile());
    double ratio = 0;
    for (auto _ : state) {
        MapBitmap bitmap;
        if (bitmap.load(path) != MapBitmap::LoadError::None) state.SkipWithError("load failed");
        ratio = double(bitmap.bytesHeld()) / double(bitmap.level(0).sizeInBytes());
    }
    state.counters["held_vs_bitmap"] = ratio;
}
BENCHMARK(BM_LoadMap)->Unit(benchmark::kMillisecond)->Iterations(3);

// One GPS fix with the moving map: a new bitmap position, the recentring
// scroll, the clip rendered from the pyramid (forced every fix), the cross,
// and the frame painted onto a screen-sized image.
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
    for (auto _ : state) {
        view.position = {kMapWidth / 4 + (fix * 37) % (kMapWidth / 2),
                         kMapHeight / 4 + (fix * 23) % (kMapHeight / 2)};
        ++fix;
        view.CentreOnPosition();
        view.RefreshMapView();
        view.DrawPositionMark();
        QPainter painter(&screen);
        widget.paintFrame(painter);
    }
    state.counters["pyramid_level"] =
        bitmap.levelFor(view.clip().width, view.clip().height, kViewWidth, kViewHeight);
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
        QImage frame = full.copy(clip).scaled(kViewWidth, kViewHeight, Qt::IgnoreAspectRatio,
                                              Qt::SmoothTransformation);
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_NaiveScaledClip)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->Iterations(5);

// The floor: copying one view frame.
void BM_MemcpyFrame(benchmark::State& state) {
    std::vector<std::uint32_t> a(std::size_t(kViewWidth) * kViewHeight, 0x00ff00ffu), b(a.size());
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * sizeof(std::uint32_t));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);

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
}

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
