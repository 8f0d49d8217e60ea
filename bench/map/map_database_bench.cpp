// The map database: AUTO over a folder of 10,000 calibrated maps (corner
// files and bitmap headers on disk) and FIND over a database of 10,000
// records, the map found last; each as plain logic and through the AUTO and
// FIND buttons of the real (offscreen) main window.
//
// The folder is generated under $TARVOK_BENCH_MAPS once and kept for later
// runs (without it, in a private folder removed at the end).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <QLineEdit>

#include "bench/bench_window.h"
#include "bench/private_folder.h"
#include "navigator/map/map_database.h"
#include "navigator/map/map_database_files.h"
#include "navigator/map/map_window.h"
#include "navigator/navigator_windows.h"
#include "navigator/shell/main_window.h"
#include "platform/sound_device.h"
#include "tests/support/recording_dialogs.h"

namespace {

using namespace tarvok;

constexpr int kMaps = 10000;

std::string two(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

// A drive prefix whose C:\KAARTEN holds kMaps maps on a grid of tiles of
// 0 10' x 0 10', each with its corner file and the header of its bitmap.
const DosPaths& benchPrefix() {
    static const DosPaths paths = [] {
        const std::filesystem::path root = tarvok::bench::benchPath("TARVOK_BENCH_MAPS", "maps");
        const DosPaths dos(root);
        const auto folder = dos.toNative("C:\\KAARTEN");
        std::error_code ec;
        if (!std::filesystem::exists(folder / ("M" + std::to_string(kMaps - 1) + ".des"), ec)) {
            std::filesystem::create_directories(folder);
            std::string bmp(54, '\0');
            bmp[0] = 'B';
            bmp[1] = 'M';
            const std::int32_t info = 40, w = 1200, h = 800;
            std::memcpy(bmp.data() + 14, &info, 4);
            std::memcpy(bmp.data() + 18, &w, 4);
            std::memcpy(bmp.data() + 22, &h, 4);
            for (int i = 0; i < kMaps; ++i) {
                const int row = i / 100, col = i % 100;
                const int latMin = row * 10, lonMin = col * 10;  // minutes from 40 N 0 E
                const std::string a = two(40 + latMin / 60) + two(latMin % 60) + "00N" + "0" + two(lonMin / 60) +
                                      two(lonMin % 60) + "00E,0,800";
                const std::string b = two(40 + (latMin + 10) / 60) + two((latMin + 10) % 60) + "00N" + "0" +
                                      two((lonMin + 10) / 60) + two((lonMin + 10) % 60) + "00E,1200,0";
                const std::string name = "M" + std::to_string(i);
                std::ofstream(folder / (name + ".des"), std::ios::binary) << name << "\r\nfree\r\nfree\r\n"
                                                                          << a << "\r\n"
                                                                          << b << "\r\n";
                std::ofstream(folder / (name + ".bmp"), std::ios::binary) << bmp;
            }
        }
        return dos;
    }();
    return paths;
}

void BM_BuildMapDatabase(benchmark::State& state) {
    const DosPaths& paths = benchPrefix();
    for (auto _ : state) {
        map::MapDatabaseBuild build(map::cornerFilesIn(paths, "C:\\KAARTEN"), {640, 480});
        map::DosMapFolderFiles files(paths);
        while (!build.done()) build.step(files);
        std::ofstream(paths.toNative("C:\\TARVOK\\Autoload.TVK"), std::ios::binary) << build.content();
        if (build.recordCount() != kMaps) state.SkipWithError("not every map was written");
    }
}
BENCHMARK(BM_BuildMapDatabase)->Unit(benchmark::kMillisecond);

void BM_FindMapForPosition(benchmark::State& state) {
    std::string content;
    for (int i = 0; i < kMaps; ++i) {
        map::MapRecord r;
        r.cornerFilePath = "C:\\KAARTEN\\M" + std::to_string(i) + ".des";
        r.edges = {41.0 + i * 0.001, 41.0 + i * 0.001 - 0.0005, 4.0, 5.0};
        content += map::encodeMapRecord(r);
    }
    for (auto _ : state) {
        // The last record is the only one that holds the position.
        const auto s = map::searchMapForPosition(map::decodeMapDatabase(content), "50,99875", "4,5", "N", "E");
        if (s.outcome != map::MapSearchOutcome::Found || s.index != kMaps - 1) state.SkipWithError("wrong map");
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_FindMapForPosition)->Unit(benchmark::kMicrosecond);

// The main window on the benchmark prefix, with a map of the folder loaded.
struct BenchWindow {
    tarvok::bench::BenchMainWindow main{benchPrefix()};
    MainWindow* window = main.window.get();
    std::unique_ptr<map::MapWindow> map;
    BenchWindow() {
        map = std::make_unique<map::MapWindow>(mapWindowLinks(*window), window);
        window->formLoad();
        map->calibration().mapPath = "C:\\KAARTEN\\M0.bmp";
        window->state().mapLoaded = 1;
    }
};

void BM_AutoButton(benchmark::State& state) {
    BenchWindow w;
    for (auto _ : state) {
        w.map->Command12_Click();
        if (w.window->status().rfind(" DATABASE LOADED", 0) != 0) state.SkipWithError("no database");
    }
    std::error_code ec;
    const auto size = std::filesystem::file_size(benchPrefix().toNative("C:\\TARVOK\\Autoload.TVK"), ec);
    if (size != std::uintmax_t(kMaps) * map::kMapRecordSize) state.SkipWithError("not every map was written");
}
BENCHMARK(BM_AutoButton)->Unit(benchmark::kMillisecond);

void BM_FindButton(benchmark::State& state) {
    BenchWindow w;
    w.map->Command12_Click();
    // North of every map: the whole database is read and searched.
    w.window->findChild<QLineEdit*>(QStringLiteral("Latid"))->setText(QStringLiteral("80,5"));
    w.window->findChild<QLineEdit*>(QStringLiteral("Longi"))->setText(QStringLiteral("4,5"));
    for (auto _ : state) {
        w.map->Command13_Click();
        if (w.window->status() != map::noMapFoundText(Language::English)) state.SkipWithError("searched wrongly");
    }
}
BENCHMARK(BM_FindButton)->Unit(benchmark::kMicrosecond);

}  // namespace
