// Track import: lines cut, points read and GPX points parsed per second, and
// the memory an import of a long track needs (peak resident growth over the
// resident size before, the largest of the repetitions).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bench/private_folder.h"
#include "navigator/route/track/track_gpx.h"
#include "navigator/route/track/track_import.h"

namespace {

using namespace tarvok;

const char* kTrkLine = "\nT  N5213.12345 E00454.12345 23-MAR-94 12:34:56\r";
const char* kGpxPoint =
    "<trkpt lat=\"52.2187241\" lon=\"4.9020575\"><ele>1.0</ele><time>2024-05-01T12:00:01Z</time></trkpt>\n";

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
long statusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(field) + ":";
    for (std::string line; std::getline(status, line);)
        if (line.rfind(prefix, 0) == 0) return std::stol(line.substr(prefix.size()));
    return -1;
}

// The process's peak resident size starts again from its current size, so
// the next peak is this repetition's own (the lifetime peak would show the
// growth of the first repetition only).
long residentNowWithPeakReset() {
    std::ofstream("/proc/self/clear_refs") << "5";
    return statusKilobytes("VmRSS");
}

// The files the benchmarks read, removed when the program ends.
struct TempFiles {
    std::vector<std::filesystem::path> paths;
    ~TempFiles() {
        std::error_code ec;
        for (const auto& p : paths) std::filesystem::remove(p, ec);
    }
};
TempFiles tempFiles;

// A file in the temporary folder, written once per process.
std::string tempFile(const char* name, const std::string& head, const char* repeated, int count,
                     const std::string& tail) {
    const auto path = tarvok::bench::privateFolder() / name;
    if (!std::filesystem::exists(path)) {
        tempFiles.paths.push_back(path);
        std::ofstream out(path, std::ios::binary);
        out << head;
        for (int i = 0; i < count; ++i) out << repeated;
        out << tail;
    }
    return path.string();
}

void runImport(benchmark::State& state, const std::string& path, int thinning) {
    std::size_t points = 0;
    long growth = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const long before = residentNowWithPeakReset();
        state.ResumeTiming();
        TrackImport import(openTrackFile(path, path, 0));
        for (;;) {
            TrackStep s = import.step(thinning);
            if (s.kind == TrackStep::Kind::Point) {
                ++points;
                benchmark::DoNotOptimize(s.point.latid.data());
            }
            if (s.kind == TrackStep::Kind::End || s.kind == TrackStep::Kind::Error) break;
        }
        growth = std::max(growth, statusKilobytes("VmHWM") - before);
    }
    state.SetItemsProcessed(static_cast<int64_t>(points));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
    state.counters["peak_growth_kB"] = static_cast<double>(growth);
}

// 1,000,000 track file lines from disk, every line a point (rou1 = 1).
void BM_TrackFileMillionLines(benchmark::State& state) {
    runImport(state, tempFile("tarvok_bench_1m.trk", "H  header\r", kTrkLine, 1000000, ""), 1);
}
BENCHMARK(BM_TrackFileMillionLines)->Unit(benchmark::kMillisecond);

// The same file thinned out to every 100th line: mostly line cutting.
void BM_TrackFileMillionLinesThinned(benchmark::State& state) {
    runImport(state, tempFile("tarvok_bench_1m.trk", "H  header\r", kTrkLine, 1000000, ""), 100);
}
BENCHMARK(BM_TrackFileMillionLinesThinned)->Unit(benchmark::kMillisecond);

// 200,000 GPX track points from disk.
void BM_GpxTrack(benchmark::State& state) {
    runImport(state,
              tempFile("tarvok_bench_200k.gpx",
                       "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"bench\" "
                       "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>\n",
                       kGpxPoint, 200000, "</trkseg></trk></gpx>\n"),
              1);
}
BENCHMARK(BM_GpxTrack)->Unit(benchmark::kMillisecond);

}  // namespace
