#include "listen/speech_file.h"

#include "listen/recogniser.h"
#include "platform/wav_sound.h"

#include <fstream>
#include <iterator>

namespace tarvok::listen {

std::optional<std::vector<std::int16_t>> readSpeechFile(const std::filesystem::path& file, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        error =
            "Cannot read " + file.string() + ": " + (std::filesystem::exists(file, ec) ? "not a file" : "no such file");
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        error = "Cannot read " + file.string();
        return std::nullopt;
    }
    const auto wav = parseWav(bytes);
    if (!wav || wav->sampleRate == 0) {
        error = file.string() + " is not a PCM WAV recording";
        return std::nullopt;
    }
    const WavSound speech = wav->sampleRate == Recogniser::sampleRate && wav->channels == 1 && wav->bitsPerSample == 16
                                ? *wav
                                : convertWav(*wav, Recogniser::sampleRate, 1);
    std::vector<std::int16_t> samples(speech.samples.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::int16_t(std::uint8_t(speech.samples[2 * i]) | (std::uint8_t(speech.samples[2 * i + 1]) << 8));
    return samples;
}

}  // namespace tarvok::listen
