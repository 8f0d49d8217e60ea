#include "sounds/sound_recording.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace tarvok::sounds {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The low-pass filter for halving 22050 to 11025 samples per second:
// 127 taps of sin(x)/x cut off at 5000 Hz under a Blackman window, whose
// transition band (about 960 Hz wide) ends just below the new Nyquist
// frequency of 5512 Hz, with more than 70 dB of attenuation beyond it.
constexpr int kTaps = 127;
constexpr int kCentre = kTaps / 2;

std::array<double, kTaps> lowPass() {
    std::array<double, kTaps> h{};
    const double cutoff = 5000.0 / 22050.0;  // cycles per input sample
    double sum = 0;
    for (int i = 0; i < kTaps; ++i) {
        const double t = i - kCentre;
        const double sinc = t == 0 ? 2 * cutoff : std::sin(2 * kPi * cutoff * t) / (kPi * t);
        const double window =
            0.42 - 0.5 * std::cos(2 * kPi * i / (kTaps - 1)) + 0.08 * std::cos(4 * kPi * i / (kTaps - 1));
        h[i] = sinc * window;
        sum += h[i];
    }
    for (double& v : h) v /= sum;  // unity gain at 0 Hz
    return h;
}

std::int16_t clip16(double v) { return static_cast<std::int16_t>(std::clamp(std::lround(v), -32768L, 32767L)); }

}  // namespace

std::vector<std::int16_t> halveSampleRate(const std::vector<std::int16_t>& in) {
    static const std::array<double, kTaps> h = lowPass();
    const long n = static_cast<long>(in.size());
    std::vector<std::int16_t> out;
    out.reserve((in.size() + 1) / 2);
    for (long centre = 0; centre < n; centre += 2) {
        double acc = 0;
        const long first = std::max(0L, centre - kCentre), last = std::min(n - 1, centre + kCentre);
        for (long j = first; j <= last; ++j)
            acc += h[static_cast<std::size_t>(j - centre + kCentre)] * in[static_cast<std::size_t>(j)];
        out.push_back(clip16(acc));
    }
    return out;
}

std::vector<std::int16_t> trimSilence(const std::vector<std::int16_t>& samples, std::uint32_t sampleRate) {
    // Louder than about 1.5 % of full scale counts as sound: well above the
    // near-silence of the synthesiser's pauses and the filter's ripple,
    // well below the quietest consonants.
    constexpr int kThreshold = 500;
    const auto loud = [](std::int16_t s) { return std::abs(int(s)) > kThreshold; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    if (first == samples.end()) return {};
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();  // one past
    const long lead = static_cast<long>(sampleRate) * 5 / 1000;                     // 5 ms before the first sound
    const long fade = static_cast<long>(sampleRate) * 20 / 1000;                    // 20 ms of the decay after it
    const long from = std::max(0L, static_cast<long>(first - samples.begin()) - lead);
    const long to = std::min(static_cast<long>(samples.size()), static_cast<long>(last - samples.begin()) + fade);
    return {samples.begin() + from, samples.begin() + to};
}

std::string toUnsigned8(const std::vector<std::int16_t>& samples, double gain) {
    std::string out;
    out.reserve(samples.size());
    for (std::int16_t s : samples) {
        const long v = std::lround(s * gain / 256.0) + 128;
        out.push_back(static_cast<char>(static_cast<std::uint8_t>(std::clamp(v, 0L, 255L))));
    }
    return out;
}

namespace {

void putLe(std::string& s, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void chunkHeader(std::string& s, const char* id, std::uint32_t size) {
    s += id;
    putLe(s, size, 4);
}

}  // namespace

std::string soundFile(std::string_view spoken) {
    constexpr char kSilence = '\x80';
    std::string samples(spoken);
    if (samples.size() % 2) samples.push_back(kSilence);

    // "RIFF" size "WAVE" (12 bytes), "fmt " (24, to byte 36), a filler
    // chunk to byte 70, the data chunk's header to byte 78; the data are a
    // silent sample, the spoken ones from byte 79, a silent sample; then a
    // filler chunk of 62 bytes, 71 bytes after the spoken ones in all.
    constexpr std::uint32_t kHeadFiller = 70 - 36 - 8;
    constexpr std::uint32_t kTailFiller = kSpokenTail - 1 - 8;
    const auto length = static_cast<std::uint32_t>(kSpokenStart + samples.size() + kSpokenTail);

    std::string w;
    w.reserve(length);
    chunkHeader(w, "RIFF", length - 8);
    w += "WAVE";
    chunkHeader(w, "fmt ", 16);
    putLe(w, 1, 2);               // PCM
    putLe(w, 1, 2);               // mono
    putLe(w, kSetSampleRate, 4);  // samples per second
    putLe(w, kSetSampleRate, 4);  // bytes per second
    putLe(w, 1, 2);               // block alignment
    putLe(w, 8, 2);               // bits per sample
    chunkHeader(w, "JUNK", kHeadFiller);
    w.append(kHeadFiller, '\0');
    chunkHeader(w, "data", static_cast<std::uint32_t>(samples.size() + 2));
    w.push_back(kSilence);
    w += samples;
    w.push_back(kSilence);
    chunkHeader(w, "JUNK", kTailFiller);
    w.append(kTailFiller, '\0');
    return w;
}

}  // namespace tarvok::sounds
