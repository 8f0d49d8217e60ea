// Accuracy, rejection and speed of tarvok-listen's recogniser over recordings
// made with espeak-ng's Dutch voices and sox.
//
// Every command phrase is spoken by three voices at two speeds; the
// recordings that are not commands are other Dutch sentences and single
// words by the same voices, silence, and noise. Each recording is fed to the
// recogniser in 20 ms blocks, as the microphone delivers them, and timed.
//
// Counters: exact = share of command recordings heard as exactly their
// phrase; same_command = share heard as a phrase that does the same (the
// settings program acts alike on "help" and "hulp", "nee" and "neen");
// accepted = share of other recordings that produced any command;
// latency = from the end of the spoken phrase to the phrase being known
// (the audio still to arrive after the phrase plus the time the recogniser
// spends on the block that closes it); real_time_factor = recogniser time
// over audio time.
//
// The recordings go to $TARVOK_BENCH_SPEECH once and are reused by later
// runs (without it, to a private folder removed at the end).
//
// TARVOK_BENCH_SET=tuning runs the same measures over a separate tuning set
// instead: other voices and speeds, other sentences and words, noise at other
// levels. The recogniser's settings are chosen on that set, so the figures
// of the measuring set are not fitted to its own recordings.
#include <benchmark/benchmark.h>

#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "bench/private_folder.h"
#include "common/voice_commands.h"
#include "listen/recogniser.h"
#include "listen/speech_file.h"
#include "settings/voice_control.h"
#include "tests/support/spoken_phrase.h"

namespace {

namespace fs = std::filesystem;
using tarvok::listen::Recogniser;

struct Recording {
    fs::path file;
    std::string expected;  // the command phrase, or empty for a non-command
};

struct Voice {
    const char* name;
    int speed;
};
constexpr Voice measuringVoices[] = {{"nl", 140},    {"nl", 175},    {"nl+m3", 140},
                                     {"nl+m3", 175}, {"nl+f2", 140}, {"nl+f2", 175}};
constexpr Voice tuningVoices[] = {{"nl+m4", 130}, {"nl+m6", 160}, {"nl+m7", 185},
                                  {"nl+f5", 150}, {"nl+m8", 170}, {"nl+f1", 190}};

bool tuningSet() {
    const char* env = std::getenv("TARVOK_BENCH_SET");
    return env && std::string_view(env) == "tuning";
}

std::span<const Voice> voices() {
    if (tuningSet()) return tuningVoices;
    return measuringVoices;
}

constexpr const char* measuringSentences[] = {
    "morgen gaan we naar de markt",
    "het regent al de hele dag",
    "de trein naar Utrecht heeft vertraging",
    "wil je nog een kopje koffie",
    "ik heb de sleutels op tafel gelegd",
    "rechtsaf bij de volgende kruising",
    "de kinderen spelen buiten in de tuin",
    "zet de radio wat zachter alsjeblieft",
    "we rijden over de snelweg naar Rotterdam",
    "wat een mooi weer vandaag",
    "het is druk op de weg",
    "bel me straks even terug",
};

constexpr const char* tuningSentences[] = {
    "de bakker op de hoek verkoopt vers brood",
    "hij fietst elke ochtend naar zijn werk",
    "mijn zus woont in een klein dorp",
    "kun je de deur even dicht doen",
    "de vergadering begint om negen uur",
    "neem de tweede afslag op de rotonde",
    "het museum is op maandag gesloten",
    "ze kochten een nieuwe bank voor de kamer",
    "over vijf honderd meter links afslaan",
    "de hond blaft naar de postbode",
    "ik ga vanavond vroeg naar bed",
    "er staat een file bij Amsterdam",
};

constexpr const char* measuringWords[] = {
    "fiets", "water", "morgen", "brood", "auto", "tafel", "zomer", "groen", "links", "rechts",
};
constexpr const char* tuningWords[] = {
    "boek", "straat", "winter", "appel", "stoel", "blauw", "huis", "trein", "zee", "koffie",
};

fs::path corpusFolder() {
    const fs::path folder = tarvok::bench::benchPath("TARVOK_BENCH_SPEECH", "speech");
    return tuningSet() ? folder / "tuning" : folder;
}

std::string fileNameOf(std::string text) {
    std::replace(text.begin(), text.end(), ' ', '_');
    return text;
}

bool speechRecording(const std::string& text, const Voice& v, const fs::path& file) {
    return fs::exists(file) || tarvok::test::renderSpeech(text, v.name, v.speed, file);
}

std::vector<Recording> commandRecordings() {
    std::vector<Recording> out;
    const fs::path folder = corpusFolder() / "commands";
    fs::create_directories(folder);
    for (std::string_view phrase : tarvok::voiceCommandPhrases())
        for (const Voice& v : voices()) {
            const fs::path file =
                folder / (fileNameOf(std::string(phrase)) + "-" + v.name + "-" + std::to_string(v.speed) + ".wav");
            if (speechRecording(std::string(phrase), v, file)) out.push_back({file, std::string(phrase)});
        }
    return out;
}

std::vector<Recording> otherSpeech(std::span<const char* const> texts) {
    std::vector<Recording> out;
    const fs::path folder = corpusFolder() / "other";
    fs::create_directories(folder);
    for (const char* text : texts)
        for (const Voice& v : voices()) {
            const fs::path file = folder / (fileNameOf(text) + "-" + v.name + "-" + std::to_string(v.speed) + ".wav");
            if (speechRecording(text, v, file)) out.push_back({file, {}});
        }
    return out;
}

// Other sentences, silence and noise.
std::vector<Recording> otherRecordings() {
    std::vector<Recording> out = otherSpeech(tuningSet() ? std::span<const char* const>(tuningSentences)
                                                         : std::span<const char* const>(measuringSentences));
    const fs::path folder = corpusFolder() / "other";
    const std::pair<const char*, QStringList> tuningSounds[] = {
        {"silence", {}},
        {"white-mid", {"whitenoise", "vol", "0.15"}},
        {"pink-mid", {"pinknoise", "vol", "0.2"}},
        {"brown-quiet", {"brownnoise", "vol", "0.1"}},
        {"hum-100", {"sine", "100", "vol", "0.2"}},
        {"whistle-down", {"sine", "2500-400", "vol", "0.2"}},
        {"clicks-fast", {"square", "9", "vol", "0.3"}},
        {"tremolo-white", {"whitenoise", "vol", "0.2", "tremolo", "5", "80"}},
        // The same kinds again at the faint and loud ends and at other
        // pitches and rates, so a threshold chosen here meets the range of
        // noise a microphone picks up.
        {"white-faint", {"whitenoise", "vol", "0.03"}},
        {"white-loud", {"whitenoise", "vol", "0.3"}},
        {"pink-loud", {"pinknoise", "vol", "0.35"}},
        {"brown-loud", {"brownnoise", "vol", "0.4"}},
        {"hum-60", {"sine", "60", "vol", "0.25"}},
        {"whistle-up", {"sine", "400-2500", "vol", "0.25"}},
        {"clicks-slow", {"square", "3", "vol", "0.4"}},
        {"tremolo-pink", {"pinknoise", "vol", "0.25", "tremolo", "4", "85"}},
    };
    const std::pair<const char*, QStringList> measuringSounds[] = {
        {"silence", {}},
        {"white-quiet", {"whitenoise", "vol", "0.05"}},
        {"white-loud", {"whitenoise", "vol", "0.4"}},
        {"pink-quiet", {"pinknoise", "vol", "0.05"}},
        {"pink-loud", {"pinknoise", "vol", "0.4"}},
        {"brown-loud", {"brownnoise", "vol", "0.5"}},
        {"hum", {"sine", "50", "vol", "0.3"}},
        {"whistle", {"sine", "300-2000", "vol", "0.3"}},
        {"clicks", {"square", "4", "vol", "0.5"}},
        {"tremolo-noise", {"pinknoise", "vol", "0.3", "tremolo", "3", "90"}},
    };
    const auto sounds = tuningSet() ? std::span<const std::pair<const char*, QStringList>>(tuningSounds)
                                    : std::span<const std::pair<const char*, QStringList>>(measuringSounds);
    for (const auto& [name, effect] : sounds) {
        const fs::path file = folder / (std::string(name) + ".wav");
        if (fs::exists(file) || tarvok::test::renderSound(effect, 2.5, file)) out.push_back({file, {}});
    }
    return out;
}

// Where the spoken part of a recording ends: the last sample above a
// quiet level.
std::size_t spokenEnd(const std::vector<std::int16_t>& s) {
    for (std::size_t i = s.size(); i > 0; --i)
        if (std::abs(int(s[i - 1])) > 300) return i;
    return 0;
}

struct Outcome {
    std::string heard;       // the first command heard, empty for none
    std::string hypothesis;  // the best phrase of the first stretch, taken or not
    double margin = 0;       // and its margin against free phones
    double coverage = 0;     // and the share of the speech its words cover
    double latency = 0;      // seconds from the spoken end to the first command
    double seconds = 0;      // recogniser time
    double audio = 0;        // audio time
};

// Feeds a recording in 20 ms blocks. A command is known once the block that
// closes its stretch has been taken: it arrives (at - spoken end) after the
// phrase and the recogniser needs the time it spends on that block.
Outcome run(Recogniser& r, const Recording& rec) {
    Outcome o;
    std::string error;
    const auto samples = tarvok::listen::readSpeechFile(rec.file, error);
    if (!samples) return o;
    const double end = double(spokenEnd(*samples));
    constexpr std::size_t block = Recogniser::sampleRate / 50;
    r.reset();
    bool first = true;
    auto take = [&](const std::vector<tarvok::listen::Hearing>& heard, double arrivedAt, double spent) {
        o.seconds += spent;
        for (const auto& h : heard) {
            if (first) {
                o.hypothesis = h.hypothesis;
                o.margin = h.margin;
                o.coverage = h.coverage;
                first = false;
            }
            if (h.phrase.empty() || !o.heard.empty()) continue;
            o.heard = h.phrase;
            o.latency = (arrivedAt - end) / Recogniser::sampleRate + spent;
        }
    };
    using Clock = std::chrono::steady_clock;
    for (std::size_t at = 0; at < samples->size(); at += block) {
        const std::size_t n = std::min(block, samples->size() - at);
        const auto t0 = Clock::now();
        const auto heard = r.feed({samples->data() + at, n});
        take(heard, double(at + n), std::chrono::duration<double>(Clock::now() - t0).count());
    }
    const auto t0 = Clock::now();
    const auto heard = r.finish();
    take(heard, double(samples->size()), std::chrono::duration<double>(Clock::now() - t0).count());
    o.audio = double(samples->size()) / Recogniser::sampleRate;
    return o;
}

void show(const Recording& rec, const Outcome& o) {
    if (std::getenv("TARVOK_BENCH_VERBOSE"))
        std::fprintf(stderr, "%s|%s|%s|%.2f|%.2f|%s\n", rec.expected.c_str(), rec.file.filename().c_str(),
                     o.hypothesis.c_str(), o.margin, o.coverage, o.heard.c_str());
}

Recogniser& recogniser() {
    static std::unique_ptr<Recogniser> r = [] {
        std::string error;
        auto made = Recogniser::open(Recogniser::defaultModel(), error);
        if (!made) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::exit(1);
        }
        return made;
    }();
    return *r;
}

// Every recording through the recogniser, counting them and the recogniser
// time against the time the sound takes to arrive.
std::vector<Outcome> runAll(benchmark::State& state, const std::vector<Recording>& recordings) {
    std::vector<Outcome> outcomes;
    double seconds = 0, audio = 0;
    for (const auto& rec : recordings) {
        outcomes.push_back(run(recogniser(), rec));
        show(rec, outcomes.back());
        seconds += outcomes.back().seconds;
        audio += outcomes.back().audio;
    }
    state.counters["recordings"] = double(recordings.size());
    state.counters["real_time_factor"] = seconds / audio;
    return outcomes;
}

void BM_CommandPhrases(benchmark::State& state) {
    const auto recordings = commandRecordings();
    for (auto _ : state) {
        const auto outcomes = runAll(state, recordings);
        std::vector<double> latencies;
        int sameCommand = 0;
        for (std::size_t i = 0; i < outcomes.size(); ++i) {
            if (outcomes[i].heard == recordings[i].expected) latencies.push_back(outcomes[i].latency);
            const auto heard = tarvok::settings::voiceCommandOf(outcomes[i].heard);
            sameCommand += heard && heard == tarvok::settings::voiceCommandOf(recordings[i].expected);
        }
        std::sort(latencies.begin(), latencies.end());
        state.counters["exact_%"] = 100.0 * double(latencies.size()) / double(recordings.size());
        state.counters["same_command_%"] = 100.0 * sameCommand / double(recordings.size());
        if (!latencies.empty()) {
            state.counters["latency_median_ms"] = 1000 * latencies[latencies.size() / 2];
            state.counters["latency_max_ms"] = 1000 * latencies.back();
            // against the half second a command may take after its end
            state.counters["latency_max_to_target"] = latencies.back() / 0.5;
        }
    }
}

void rejection(benchmark::State& state, const std::vector<Recording>& recordings) {
    for (auto _ : state) {
        const auto outcomes = runAll(state, recordings);
        const auto accepted =
            std::count_if(outcomes.begin(), outcomes.end(), [](const Outcome& o) { return !o.heard.empty(); });
        state.counters["accepted_%"] = 100.0 * double(accepted) / double(recordings.size());
    }
}

void BM_OtherSentencesAndNoise(benchmark::State& state) { rejection(state, otherRecordings()); }
// Single Dutch words that are no command: harder than sentences, as a short
// word can sound much like a short command.
void BM_OtherWords(benchmark::State& state) {
    rejection(state, otherSpeech(tuningSet() ? std::span<const char* const>(tuningWords)
                                             : std::span<const char* const>(measuringWords)));
}

BENCHMARK(BM_CommandPhrases)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_OtherSentencesAndNoise)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_OtherWords)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
