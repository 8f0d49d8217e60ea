// tarvok-record-sounds LANGUAGE FOLDER [FILE...]
//
// Records one sound set with espeak-ng: every file of the sound table (or
// only the named ones) in LANGUAGE ("nl" for GELUID, "en" for SOUND),
// written into FOLDER. One language per run: espeak-ng is initialised once
// per process. The result depends only on the table and the installed
// espeak-ng data, so a second run writes the same bytes.
#include <espeak-ng/speak_lib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "sounds/sound_recording.h"
#include "sounds/sound_table.h"

namespace fs = std::filesystem;
using namespace tarvok::sounds;

namespace {

// espeak-ng's loudest vowels reach full scale; a little headroom keeps
// them from clipping in 8 bits.
constexpr double kGain = 0.85;

std::vector<short> g_samples;  // the synthesis of the current text

int collect(short* wav, int count, espeak_EVENT*) {
    if (wav && count > 0) g_samples.insert(g_samples.end(), wav, wav + count);
    return 0;  // go on
}

bool writeWhole(const fs::path& path, const std::string& bytes) {
    const fs::path partial = path.string() + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) return false;
    }
    std::error_code ec;
    fs::rename(partial, path, ec);
    return !ec;
}

// Speaks one file's text and writes the file; the exit code of the child.
int record(const SoundText& s, bool dutch, const fs::path& folder) {
    const std::string& text = dutch ? s.dutch : s.english;
    g_samples.clear();
    const espeak_ERROR err =
        espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
    if (err != EE_OK || espeak_Synchronize() != EE_OK) {
        std::fprintf(stderr, "tarvok-record-sounds: espeak-ng failed on %s\n", s.file.c_str());
        return 1;
    }
    const std::vector<std::int16_t> spoken(g_samples.begin(), g_samples.end());
    const std::string samples = toUnsigned8(trimSilence(halveSampleRate(spoken), kSetSampleRate), kGain);
    if (samples.empty()) {
        std::fprintf(stderr, "tarvok-record-sounds: %s came out silent\n", s.file.c_str());
        return 1;
    }
    if (!writeWhole(folder / s.file, soundFile(samples))) {
        std::fprintf(stderr, "tarvok-record-sounds: cannot write %s\n", (folder / s.file).c_str());
        return 1;
    }
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: tarvok-record-sounds nl|en FOLDER [FILE...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string language = argv[1];
    if (language != "nl" && language != "en") return usage();
    const bool dutch = language == "nl";
    const fs::path folder = argv[2];

    std::vector<const SoundText*> wanted;
    if (argc == 3) {
        for (const SoundText& s : soundTable()) wanted.push_back(&s);
    } else {
        for (int i = 3; i < argc; ++i) {
            const SoundText* s = findSound(argv[i]);
            if (!s) {
                std::fprintf(stderr, "tarvok-record-sounds: %s is not in the sound table\n", argv[i]);
                return 1;
            }
            wanted.push_back(s);
        }
    }

    const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (rate != 22050) {
        std::fprintf(stderr, "tarvok-record-sounds: espeak-ng could not start (rate %d)\n", rate);
        return 1;
    }
    espeak_SetSynthCallback(collect);
    if (espeak_SetVoiceByName(dutch ? "nl" : "en") != EE_OK) {
        std::fprintf(stderr, "tarvok-record-sounds: espeak-ng has no voice for %s\n", language.c_str());
        return 1;
    }
    espeak_SetParameter(espeakRATE, 165, 0);

    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        std::fprintf(stderr, "tarvok-record-sounds: cannot create %s: %s\n", folder.c_str(), ec.message().c_str());
        return 1;
    }

    // Each file is spoken by its own child of this process, forked after
    // espeak-ng has been set up: the synthesiser carries a little state from
    // one text into the next, so this way every file starts from the same
    // state and its bytes depend on its own text alone, not on what was
    // recorded before it.
    for (const SoundText* s : wanted) {
        std::fflush(nullptr);
        const pid_t child = fork();
        if (child < 0) {
            std::perror("tarvok-record-sounds: fork");
            return 1;
        }
        if (child == 0) _exit(record(*s, dutch, folder));
        int status = 0;
        if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "tarvok-record-sounds: recording %s failed\n", s->file.c_str());
            return 1;
        }
    }
    return 0;
}
