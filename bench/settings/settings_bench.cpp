// The settings window from its start to shown and filled (Form_Load with the
// settings file read, every control filled, the clock running), against an
// empty top-level widget shown in the same run; and the CPU the running
// TarvokSET program uses while idle, with its one-second clock, over five
// seconds of /proc/<pid>/stat, against the CPU it took to start.
//
// Both work in a drive prefix under the temporary folder, removed at the end.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "settings/settings_window.h"
#include "tests/support/recording_dialogs.h"

namespace {

namespace fs = std::filesystem;
using namespace tarvok;

// A drive prefix holding the built-in settings file.
struct Prefix {
    fs::path root;
    Prefix() {
        std::string tmpl = (fs::temp_directory_path() / "tarvok-set-bench-XXXXXX").string();
        root = ::mkdtemp(tmpl.data());
        fs::create_directories(root / "drive_c" / "WINDOWS");
        std::ofstream(root / "drive_c" / "WINDOWS" / "VELKAR.DLL", std::ios::binary)
            << SettingsString::settingsProgramTemplate().bytes();
    }
    ~Prefix() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

void settle() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void BM_WindowReady(benchmark::State& state) {
    Prefix prefix;
    test::RecordingDialogs dialogs;
    double windowNs = 0, referenceNs = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        {
            QWidget empty;
            empty.resize(1024, 743);
            empty.show();
            settle();
        }
        referenceNs += double(t.nsecsElapsed());
        t.restart();
        {
            settings::SettingsWindow w{DosPaths(prefix.root), dialogs, nullptr};
            w.setScreenSizeSource([] { return QSize(1024, 768); });
            w.formLoad();
            settle();
            benchmark::DoNotOptimize(w.isVisible());
            state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
            windowNs += double(t.nsecsElapsed());
            w.close();
        }
        settle();
    }
    state.counters["ready_ms"] = windowNs / 1e6 / double(state.iterations());
    state.counters["vs_empty_widget"] = windowNs / referenceNs;
}
BENCHMARK(BM_WindowReady)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// User plus system CPU ticks of a process.
long cpuTicks(qint64 pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(in, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string f;
    long utime = 0, stime = 0;
    for (int i = 3; fields >> f; ++i) {
        if (i == 14) utime = std::stol(f);
        if (i == 15) {
            stime = std::stol(f);
            break;
        }
    }
    return utime + stime;
}

void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void BM_IdleCpu(benchmark::State& state) {
    Prefix prefix;
    const double hz = double(::sysconf(_SC_CLK_TCK));
    for (auto _ : state) {
        QProcess set;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TARVOK_PREFIX"), QString::fromStdString(prefix.root.string()));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        set.setProcessEnvironment(env);
        set.start(QStringLiteral(TARVOK_SET), {});
        if (!set.waitForStarted(5000)) {
            state.SkipWithError("TarvokSET did not start");
            return;
        }
        wait(2000);
        const long started = cpuTicks(set.processId());
        QElapsedTimer t;
        t.start();
        wait(5000);
        const long idle = cpuTicks(set.processId()) - started;
        const double seconds = double(t.elapsed()) / 1000.0;
        state.SetIterationTime(seconds);
        state.counters["idle_cpu_percent"] = 100.0 * double(idle) / hz / seconds;
        state.counters["idle_vs_start_cpu"] = started ? double(idle) / double(started) : 0.0;
        set.kill();
        set.waitForFinished(3000);
    }
}
BENCHMARK(BM_IdleCpu)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
