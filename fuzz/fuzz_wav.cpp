// Sound files: a fragment cut from a file's first bytes for an announcement,
// and a WAV file read and converted for the audio output.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "navigator/gps/announcement.h"
#include "platform/wav_sound.h"

using namespace tarvok;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarvok::fuzz::Input in(data, size);
    // The file's length as the directory says; it may differ from the bytes read.
    std::uintmax_t length = in.word();
    if (in.byte() & 1) length = in.rest().size();
    std::string_view bytes = in.rest();

    std::string fragment = gps::fragmentFromFile(bytes.substr(0, gps::kFragmentFileReadLimit), length);
    if (fragment.size() > gps::kFragmentFileReadLimit) __builtin_trap();
    std::string wav = gps::announcementWav(fragment);

    for (std::string_view file : {bytes, std::string_view(wav)}) {
        std::optional<WavSound> sound = parseWav(file);
        if (!sound) continue;
        if (sound->bytesPerFrame() && sound->samples.size() % sound->bytesPerFrame()) __builtin_trap();
        (void)sound->durationMicroseconds();
        // Keep the conversion's output small enough for a quick run.
        const std::uint64_t frames = sound->frameCount();
        if (sound->sampleRate >= 1000 && frames * 44100 / sound->sampleRate < 4096) {
            (void)convertWav(*sound, 44100, 2);
            (void)convertWav(*sound, 8000, 1);
        }
    }
    return 0;
}
