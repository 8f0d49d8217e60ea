// The recorded sets in the build tree: every name the programs play is in
// the sound table and was recorded in both languages, in the format and
// layout the navigator cuts its fragments from.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>

#include "common/settings.h"
#include "navigator/gps/announcement.h"
#include "navigator/map/map_view_state.h"
#include "platform/provision.h"
#include "platform/sound_device.h"
#include "platform/wav_sound.h"
#include "sounds/sound_recording.h"
#include "sounds/sound_table.h"
#include "tests/support/program_run.h"
#include "tests/support/real_audio.h"
#include "tests/support/temp_prefix.h"

namespace fs = std::filesystem;

namespace tarvok::sounds {
namespace {

const fs::path kShare = TARVOK_SHARE_DIR;
using test::readFile;

std::string lowered(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST(SoundTable, NamesAreUniqueWavFilesWithBothTexts) {
    std::set<std::string> seen;
    for (const SoundText& s : soundTable()) {
        SCOPED_TRACE(s.file);
        EXPECT_TRUE(seen.insert(lowered(s.file)).second) << "twice in the table";
        ASSERT_GT(s.file.size(), 4u);
        EXPECT_EQ(s.file.substr(s.file.size() - 4), ".WAV");
        EXPECT_EQ(storedName(s.file), s.file);
        EXPECT_FALSE(s.dutch.empty());
        EXPECT_FALSE(s.english.empty());
    }
    EXPECT_EQ(findSound("April.WAV "), findSound("April.WAV"));
    ASSERT_NE(findSound("navig1.wav"), nullptr);
    EXPECT_EQ(findSound("navig1.wav")->file, "Navig1.WAV");
    EXPECT_EQ(findSound("Navig9.WAV"), nullptr);
    EXPECT_EQ(findSound(gps::kAnnouncementFile), nullptr);  // written at run time, never recorded
}

TEST(SoundSets, EveryTableFileIsRecordedInBothSetsAndNothingElse) {
    for (const char* folder : {kDutchFolder, kEnglishFolder}) {
        SCOPED_TRACE(folder);
        std::set<std::string> onDisk;
        for (const auto& e : fs::directory_iterator(kShare / folder)) onDisk.insert(e.path().filename().string());
        std::set<std::string> inTable;
        for (const SoundText& s : soundTable()) inTable.insert(s.file);
        EXPECT_EQ(onDisk, inTable);
    }
}

TEST(SoundSets, EveryFileIsSpokenEightBitMonoThatTheFragmentCutFinds) {
    for (const SoundText& s : soundTable()) {
        SCOPED_TRACE(s.file);
        const std::string dutch = readFile(kShare / kDutchFolder / s.file);
        const std::string english = readFile(kShare / kEnglishFolder / s.file);
        EXPECT_NE(dutch, english);
        for (const std::string* bytes : {&dutch, &english}) {
            auto wav = parseWav(*bytes);
            ASSERT_TRUE(wav);
            EXPECT_EQ(wav->sampleRate, 11025u);
            EXPECT_EQ(wav->channels, 1);
            EXPECT_EQ(wav->bitsPerSample, 8);

            // The navigator's cut, from the bytes it reads, is the data
            // chunk without its two silent guard samples.
            const std::string fragment =
                gps::fragmentFromFile(std::string_view(*bytes).substr(0, gps::kFragmentFileReadLimit), bytes->size());
            if (s.kind == SoundKind::Fragment) {
                EXPECT_LE(bytes->size(), gps::kFragmentFileReadLimit);
                ASSERT_EQ(wav->samples.size(), fragment.size() + 2);
                EXPECT_EQ(wav->samples.substr(1, fragment.size()), fragment);
            }
            ASSERT_GT(fragment.size(), 1000u);  // at least 90 ms of speech

            // Something is said, the leading silence is gone, and it is not clipped.
            int peak = 0;
            for (char c : fragment) peak = std::max(peak, std::abs(int(std::uint8_t(c)) - 128));
            EXPECT_GT(peak, 30);
            EXPECT_LT(peak, 127);
            int firstLoud = 0;
            while (std::abs(int(std::uint8_t(fragment[std::size_t(firstLoud)])) - 128) < 2) ++firstLoud;
            EXPECT_LT(firstLoud, 11025 / 50);  // speech within 20 ms
        }
    }
}

// Everything an announcement can be made of, over every speed and course
// text, every compass text, positions with degrees from 0 to 180 and all
// options on and off.
std::set<std::string> announcementNames() {
    std::set<std::string> names;
    for (char unit : {'1', '2', '3'})
        for (const std::string& n : gps::preloadedFragmentNames(unit)) names.insert(n + ".WAV");
    names.insert(gps::kReceptionErrorFile);

    gps::SpeechOptions all{true, true, true, true, true, true, true, true, "kmh"};
    gps::SpeechOptions calm = all;
    calm.speakWarnings = false;
    const char* compass[] = {"N ", "NO", " O", "ZO", " Z", "ZW", " W", "NW"};
    for (int v = 0; v <= 999; ++v) {
        char three[4];
        std::snprintf(three, sizeof three, "%03d", v);
        for (const gps::SpeechOptions& o : {all, calm}) {
            gps::SpokenTexts t;
            t.speed = three;
            t.koers = three;
            t.windr = compass[v % 8];
            char latid[16], longi[16];
            std::snprintf(latid, sizeof latid, "%d,12345", v % 91);
            std::snprintf(longi, sizeof longi, "%d,67890", v % 181);
            t.latid = latid;
            t.longi = longi;
            t.nsText.assign(1, v % 2 ? 'N' : 'Z');
            t.ewText.assign(1, v % 3 ? 'E' : 'W');
            for (const std::string& n : gps::announcementFragments(t, o)) names.insert(n + ".WAV");
        }
    }
    return names;
}

TEST(SoundSets, EveryAnnouncementFragmentIsRecorded) {
    const std::set<std::string> names = announcementNames();
    EXPECT_GT(names.size(), 120u);  // digits, 00 to 99, hundreds, words
    for (const std::string& n : names) {
        const SoundText* s = findSound(n);
        ASSERT_NE(s, nullptr) << n;
        if (n != gps::kReceptionErrorFile) { EXPECT_EQ(s->kind, SoundKind::Fragment) << n; }
    }
}

class RecordingZoomFeedback : public map::ZoomFeedback {
public:
    std::set<std::string> sounds;
    void showStatus(const std::string&) override {}
    bool spokenOutput() const override { return true; }
    Language language() const override { return Language::English; }
    void startSound(const std::string& fileName) override { sounds.insert(fileName); }
    void waitForSoundEnd() override {}
};

TEST(SoundSets, EveryZoomWordIsRecorded) {
    map::MapViewState view;
    RecordingZoomFeedback feedback;
    map::MapZoom zoom(view, feedback);
    for (int i = 0; i < 6; ++i) zoom.ZoomIn();
    for (int i = 0; i < 6; ++i) zoom.ZoomOut();
    zoom.ZoomFull();
    EXPECT_EQ(feedback.sounds.size(), 6u);
    for (const std::string& n : feedback.sounds) EXPECT_NE(findSound(n), nullptr) << n;
}

// Every sound file name written out in the programs' own sources ("Navig1.WAV",
// "Totziens.WAV", ...): the ones the code plays by a fixed name.
std::set<std::string> namesInSources() {
    static const std::regex literal(R"re("([A-Za-z0-9_-]+\.WAV) *")re");
    std::set<std::string> names;
    for (const char* dir : {"navigator", "settings", "tools", "demo"}) {
        const fs::path root = fs::path(TARVOK_SOURCE_DIR) / dir;
        if (!fs::is_directory(root)) continue;
        for (const auto& e : fs::recursive_directory_iterator(root)) {
            const std::string ext = e.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            const std::string text = readFile(e.path());
            for (std::sregex_iterator m(text.begin(), text.end(), literal), end; m != end; ++m)
                names.insert((*m)[1].str());
        }
    }
    names.erase(gps::kAnnouncementFile);
    return names;
}

TEST(SoundSets, EverySoundNamedInTheProgramsIsRecorded) {
    const std::set<std::string> names = namesInSources();
    // The scan sees the names it must (so it cannot pass by finding nothing).
    for (const char* known : {"Welkom5.WAV", "Totziens.WAV", "Navig2.WAV", "Mzoom0.WAV"})
        EXPECT_TRUE(names.count(known)) << known;
    for (const std::string& n : names) EXPECT_NE(findSound(n), nullptr) << n;
}

TEST(SoundSets, TheSettingsProgramsBuiltNamesAreRecorded) {
    std::vector<std::string> names;
    // Baud rates, ports, parity and data bits of the ports page.
    for (const char* baud : {"300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "28800", "33600"})
        names.push_back(std::string("IN") + baud + ".WAV");
    for (int port = 1; port <= 4; ++port) names.push_back("INCOM-" + std::to_string(port) + ".WAV");
    for (int n = 0; n <= 8; ++n) names.push_back(std::to_string(n) + ".WAV");
    // Sliders (0 to 20) and the screen corrections' absolute values (to 200).
    for (int n = 0; n <= 200; ++n) names.push_back(std::to_string(n) + ".WAV");
    // Clock and date: two-digit hours, minutes, days, centuries and years.
    for (int n = 0; n <= 99; ++n) names.push_back((n < 10 ? "0" : "") + std::to_string(n) + ".WAV");
    for (const char* month :
         {"Januari.WAV", "Februari.WAV", "Maart.WAV", "April.WAV ", "Mei.WAV", "Juni.WAV", "Juli.WAV", "Augustus.WAV",
          "Septembr.WAV", "Oktober.WAV", "November.WAV", "December.WAV"})
        names.push_back(month);
    for (const std::string& n : names) EXPECT_NE(findSound(n), nullptr) << n;
}

TEST(SoundSets, RecordingAgainGivesTheSameBytes) {
    test::TempPrefix tp;
    const QStringList some = {"Navig1.WAV", "07.WAV", "Komma.WAV", "April.WAV"};
    for (const char* language : {"nl", "en"}) {
        SCOPED_TRACE(language);
        const fs::path out = tp.root() / language;
        const test::ProgramRun r =
            test::runProgram(TARVOK_RECORDER, QStringList{language, QString::fromStdString(out.string())} + some);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const char* folder = std::string(language) == "nl" ? kDutchFolder : kEnglishFolder;
        for (const QString& name : some)
            EXPECT_TRUE(readFile(out / name.toStdString()) == readFile(kShare / folder / name.toStdString()))
                << name.toStdString();
    }
    const QStringList nothing{"nl", QString::fromStdString(tp.root().string()), "Nothing.WAV"};
    EXPECT_NE(test::runProgram(TARVOK_RECORDER, nothing).exitCode, 0);
}

TEST(SoundSets, FirstRunProvisioningPutsBothSetsOnDriveC) {
    test::TempPrefix tp;
    ProvisionResult r = provisionPrefix(tp.prefix(), kShare, SettingsString::settingsProgramTemplate().bytes());
    ASSERT_TRUE(r.ok) << r.error;
    const DosPaths paths = tp.paths();
    for (auto [dos, installed] : {std::pair{"C:\\TARVOK\\GELUID\\Navig1.WAV", kShare / kDutchFolder / "Navig1.WAV"},
                                  {"C:\\TARVOK\\SOUND\\April.WAV ", kShare / kEnglishFolder / "April.WAV"}})
        EXPECT_EQ(readFile(paths.toNative(dos)), readFile(installed)) << dos;
    EXPECT_TRUE(paths.exists("C:\\TARVOK\\SOUND\\INCOM-4.WAV"));
}

using test::RealAudio;

TEST_F(RealAudio, Navig1PlaysToItsEndInBothLanguages) {
    for (const char* folder : {kDutchFolder, kEnglishFolder}) {
        SCOPED_TRACE(folder);
        const fs::path file = kShare / folder / "Navig1.WAV";
        const auto duration = readWavFile(file)->durationMicroseconds() / 1000;
        AudioSinkDevice d;
        ASSERT_TRUE(d.open(file));
        QSignalSpy spy(&d, &SoundDevice::done);
        QElapsedTimer t;
        t.start();
        d.play();
        while (spy.isEmpty() && t.elapsed() < qint64(duration) + 5000) spy.wait(200);
        ASSERT_EQ(spy.count(), 1);
        EXPECT_EQ(spy.at(0).at(0).toInt(), int(SoundDevice::Successful));
        EXPECT_GE(t.elapsed(), qint64(duration) * 9 / 10);
    }
}

}  // namespace
}  // namespace tarvok::sounds
