// One spoken announcement: the fragments chosen for a fix, joined and
// written as "Algem1.WAV" (every option on, fragments of a typical 0.4 s
// recording each).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "navigator/gps/announcement.h"

namespace {

using namespace tarvok::gps;

void BM_AssembleAndWriteAnnouncement(benchmark::State& state) {
    SpeechOptions o;
    o.speakSpeed = o.speakCourse = o.speakPosition = o.speakWarnings = true;
    o.speakUnit = o.speakDegreesWord = o.speakPositionWord = o.speakCompass = true;
    const SpokenTexts texts{"52,06866", "4,883300", "N", "E", "041", "084", " O"};
    std::map<std::string, std::string> fragments;
    for (const std::string& name : announcementFragments(texts, o)) fragments[name] = std::string(4400, '\x80');
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "tarvok-bench-Algem1.WAV";
    for (auto _ : state) {
        std::string samples;
        for (const std::string& name : announcementFragments(texts, o)) samples += fragments[name];
        std::ofstream(file, std::ios::binary | std::ios::trunc) << announcementWav(samples);
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_AssembleAndWriteAnnouncement)->Unit(benchmark::kMicrosecond);

}  // namespace
