// One spoken announcement (every option on, 25 fragments of a typical 0.4 s
// recording each): the fragments read from their files in a sound folder,
// joined and written as "Algem1.WAV", as plain logic and through SpeakStatus
// of the real (offscreen) main window; and, for comparison, the same file
// written by truncating and rewriting it.
//
// The sound folder is made in $TARVOK_BENCH_SOUND (default: a folder under
// the temporary folder) and removed at the end.
#include <benchmark/benchmark.h>

#include <QLineEdit>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bench/private_folder.h"
#include "navigator/gps/announcement.h"
#include "navigator/gps/announcement_file.h"
#include "navigator/gps/speech_window.h"
#include "navigator/navigator_windows.h"
#include "navigator/shell/main_window.h"
#include "navigator/shell/sound_playback.h"
#include "platform/sound_device.h"
#include "tests/support/recording_dialogs.h"

namespace {

using namespace tarvok;
using namespace tarvok::gps;

SpeechOptions everythingOn() {
    SpeechOptions o;
    o.speakSpeed = o.speakCourse = o.speakPosition = o.speakWarnings = true;
    o.speakUnit = o.speakDegreesWord = o.speakPositionWord = o.speakCompass = true;
    return o;
}

const SpokenTexts kTexts{"52,06866", "4,883300", "N", "E", "041", "084", " O"};

// A prefix whose C:\TARVOK\SOUND holds the fragments of kTexts.
struct SoundFolder {
    std::filesystem::path root;
    std::filesystem::path sound;
    SoundFolder() {
        root = tarvok::bench::benchPath("TARVOK_BENCH_SOUND", "sound");
        sound = root / "drive_c" / "TARVOK" / "SOUND";
        std::filesystem::create_directories(sound);
        for (const std::string& name : announcementFragments(kTexts, everythingOn()))
            std::ofstream(sound / (name + ".WAV"), std::ios::binary)
                << std::string(79, 'h') << std::string(4400, '\x80') << std::string(71, 't');
    }
};

std::string joined(const std::filesystem::path& sound) {
    std::string samples;
    for (const std::string& name : announcementFragments(kTexts, everythingOn()))
        samples += readFragmentFile(sound / (name + ".WAV"));
    return samples;
}

void BM_AnnouncementReadJoinWrite(benchmark::State& state) {
    SoundFolder f;
    for (auto _ : state)
        if (writeAnnouncementFile(f.sound / kAnnouncementFile, joined(f.sound))) state.SkipWithError("not written");
}
BENCHMARK(BM_AnnouncementReadJoinWrite)->Unit(benchmark::kMicrosecond);

void BM_AnnouncementWrittenInPlace(benchmark::State& state) {
    SoundFolder f;
    const std::string samples = joined(f.sound);
    for (auto _ : state)
        if (writeAnnouncementFile(f.sound / kAnnouncementFile, samples)) state.SkipWithError("not written");
}
BENCHMARK(BM_AnnouncementWrittenInPlace)->Unit(benchmark::kMicrosecond);

void BM_AnnouncementRewrittenByTruncating(benchmark::State& state) {
    SoundFolder f;
    const std::string samples = joined(f.sound);
    for (auto _ : state)
        std::ofstream(f.sound / kAnnouncementFile, std::ios::binary | std::ios::trunc) << announcementWav(samples);
}
BENCHMARK(BM_AnnouncementRewrittenByTruncating)->Unit(benchmark::kMicrosecond);

void BM_SpeakStatusInTheWindow(benchmark::State& state) {
    SoundFolder f;
    test::RecordingDialogs dialogs;
    NavigatorStart start;
    start.settings = decodeForNavigator(start.settingsString);
    NavigatorSettings& s = start.settings;
    s.language = '1';
    s.soundOn = s.speakSpeed = s.speakCourse = s.speakPosition = s.speakWarnings = '1';
    s.speakUnit = s.speakDegreesWord = s.speakPositionWord = s.speakCompass = '1';
    MainWindow window(start, DosPaths(f.root), dialogs, std::make_unique<SilentSoundDevice>());
    SpeechWindow speech(speechLinks(window));
    window.formLoad();
    for (auto [name, text] :
         {std::pair{"Latid", kTexts.latid}, std::pair{"Longi", kTexts.longi}, std::pair{"NSText", kTexts.nsText},
          std::pair{"EWText", kTexts.ewText}, std::pair{"Speed", kTexts.speed}, std::pair{"Koers", kTexts.koers},
          std::pair{"Windr", kTexts.windr}})
        window.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(QString::fromStdString(text));
    for (auto _ : state) {
        window.sound().setCompletionCode(1);  // the last announcement has ended
        speech.speakStatus();
    }
    if (std::filesystem::file_size(f.sound / kAnnouncementFile) != 44 + 25 * 4400) state.SkipWithError("wrong file");
}
BENCHMARK(BM_SpeakStatusInTheWindow)->Unit(benchmark::kMicrosecond);

}  // namespace
