// Route playback over a long route file: the record-by-record walk, the
// search for a late start moment, and the GPX export.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>

#include "bench/private_folder.h"
#include "navigator/route/route_gpx.h"
#include "navigator/route/route_playback.h"

namespace {

using namespace tarvok::route;

constexpr int kBlocks = 2000;  // 1,004,000 records, 56 MB
constexpr double kBase = 1.0e9;

// The file the benchmarks read, written once, removed at the end.
struct RouteFile {
    std::filesystem::path path = tarvok::bench::privateFolder() / "ROUTE1.TVK";
    std::int64_t records = 0;
    RouteFile() {
        std::ofstream out(path, std::ios::binary);
        const RouteRecordBytes filler{};
        for (int b = 0; b < kBlocks; ++b) {
            out.write(reinterpret_cast<const char*>(filler.data()), filler.size());
            ++records;
            for (int i = 0; i < 501; ++i, ++records) {
                RouteRecord r;
                r.type = 'M';
                r.timeStamp = kBase + static_cast<double>(records);
                r.latHemisphere = 'N';
                r.latitude = 52 + static_cast<double>(i) * 1e-4;
                r.lonHemisphere = 'E';
                r.longitude = 4.5 + static_cast<double>(i) * 1e-4;
                r.speed = 50;
                r.speedUnit = '1';
                r.course = i % 360;
                RouteRecordBytes bytes = encodeRouteRecord(r);
                out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
            }
        }
    }
    ~RouteFile() {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

RouteFile& file() {
    static RouteFile f;
    return f;
}

// Walks the whole file at speed step `range(0)` (threshold 0), showing
// nothing but the texts of each record a window would show.
void BM_PlaybackWalk(benchmark::State& state) {
    std::int64_t shown = 0, records = 0;
    for (auto _ : state) {
        RoutePlayback p(RouteFileReader(file().path), 0, static_cast<int>(state.range(0)));
        records += p.recordCount();
        for (;;) {
            PlaybackEvent e = p.next();
            if (e.kind == PlaybackEvent::Kind::Finished) break;
            benchmark::DoNotOptimize(routeRecordTexts(e.record));
            ++shown;
        }
    }
    state.counters["records/s"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
    state.counters["shown/s"] = benchmark::Counter(static_cast<double>(shown), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlaybackWalk)->Arg(1)->Arg(9)->Unit(benchmark::kMillisecond);

// Search mode for a start moment among the last records of the file: the
// 200-record search and the one record it lands on.
void BM_SearchLateStart(benchmark::State& state) {
    const double threshold = kBase + static_cast<double>(file().records - 100);
    for (auto _ : state) {
        RoutePlayback p(RouteFileReader(file().path), threshold, 0);
        benchmark::DoNotOptimize(p.next());
    }
}
BENCHMARK(BM_SearchLateStart)->Unit(benchmark::kMicrosecond);

struct NullBuffer : std::streambuf {
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void BM_GpxExport(benchmark::State& state) {
    NullBuffer sink;
    std::ostream out(&sink);
    std::int64_t points = 0;
    for (auto _ : state) points += writeRouteGpx(RouteFileReader(file().path), out).points;
    state.counters["points/s"] = benchmark::Counter(static_cast<double>(points), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GpxExport)->Unit(benchmark::kMillisecond);

}  // namespace
