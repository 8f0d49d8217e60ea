// The cost of one look for a window title, against one pass through an idle
// event queue (the reference, measured in the same run): a navigator that
// looks for the settings window's two titles several times a second must
// not hold its window noticeably longer than such a pass.
//
// Twenty other windows are open in the folder, as a busy desktop session
// might have. Seen on the 2-core build machine: a look at an open title,
// with the holder taking the connection, about 35 idle passes (55 us), at an
// absent one about 12 (20 us): some tens of microseconds, a thousandth of a
// frame of the window.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/window_presence.h"

namespace {

using namespace tarvok;

struct Desktop {
    std::filesystem::path root;
    std::vector<std::unique_ptr<WindowPresence>> windows;
    std::unique_ptr<WindowPresence> seeker;
    Desktop() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "tarvok-bench-run-XXXXXX").string();
        root = ::mkdtemp(tmpl.data());
        ::setenv("TARVOK_RUNTIME_DIR", root.c_str(), 1);
        for (int i = 0; i < 20; ++i) {
            windows.push_back(createWindowPresence());
            windows.back()->announce("window " + std::to_string(i));
        }
        windows.push_back(createWindowPresence());
        windows.back()->announce("TARVOK - SETTINGS");
        seeker = createWindowPresence();
    }
    ~Desktop() {
        windows.clear();
        seeker.reset();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

Desktop& desktop() {
    static Desktop d;
    return d;
}

void BM_IdleEventQueuePass(benchmark::State& state) {
    desktop();
    for (auto _ : state) QCoreApplication::processEvents();
}
BENCHMARK(BM_IdleEventQueuePass)->Unit(benchmark::kMicrosecond);

void BM_LookForAnOpenTitle(benchmark::State& state) {
    Desktop& d = desktop();
    for (auto _ : state) {
        benchmark::DoNotOptimize(d.seeker->isOpen("TARVOK - SETTINGS"));
        // The window accepts and drops the looks, as it would while open.
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_LookForAnOpenTitle)->Unit(benchmark::kMicrosecond);

void BM_LookForAnAbsentTitle(benchmark::State& state) {
    Desktop& d = desktop();
    for (auto _ : state) benchmark::DoNotOptimize(d.seeker->isOpen("TARVOK - INSTELLINGEN"));
}
BENCHMARK(BM_LookForAnAbsentTitle)->Unit(benchmark::kMicrosecond);

}  // namespace
