#include "wav_sound.h"

#include <algorithm>
#include <vector>

namespace tarvok {

namespace {

std::uint32_t le32(std::string_view b, std::size_t at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
std::uint16_t le16(std::string_view b, std::size_t at) {
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

}  // namespace

std::optional<WavSound> parseWav(std::string_view b) {
    if (b.size() < 12 || b.substr(0, 4) != "RIFF" || b.substr(8, 4) != "WAVE") return std::nullopt;
    std::optional<WavSound> fmt;
    std::optional<std::string_view> data;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        std::string_view id = b.substr(at, 4);
        std::uint64_t size = le32(b, at + 4);
        std::size_t body = at + 8;
        std::size_t available = b.size() - body;
        if (id == "fmt ") {
            if (size < 16 || size > available) return std::nullopt;
            std::uint16_t tag = le16(b, body);
            if (tag == kFormatExtensible) {
                // The sub-format GUID starts with the plain format tag.
                if (size < 40 || le16(b, body + 24) != kFormatPcm) return std::nullopt;
            } else if (tag != kFormatPcm) {
                return std::nullopt;
            }
            WavSound w;
            w.channels = le16(b, body + 2);
            w.sampleRate = le32(b, body + 4);
            w.bitsPerSample = le16(b, body + 14);
            if ((w.channels != 1 && w.channels != 2) || (w.bitsPerSample != 8 && w.bitsPerSample != 16) ||
                w.sampleRate == 0)
                return std::nullopt;
            fmt = w;
        } else if (id == "data" && !data) {
            data = b.substr(body, std::min<std::uint64_t>(size, available));
        }
        at = body + size + (size & 1);
        if (at > b.size()) break;
    }
    if (!fmt || !data) return std::nullopt;
    WavSound w = *fmt;
    std::size_t whole = data->size() / w.bytesPerFrame() * w.bytesPerFrame();
    w.samples.assign(data->data(), whole);
    return w;
}

WavSound convertWav(const WavSound& in, std::uint32_t sampleRate, std::uint16_t channels) {
    // Decode to one float per channel per frame, mix or duplicate channels.
    std::uint64_t frames = in.frameCount();
    std::vector<float> src(frames * channels);
    for (std::uint64_t f = 0; f < frames; ++f) {
        float v[2] = {0, 0};
        for (std::uint16_t c = 0; c < in.channels; ++c) {
            std::size_t at = f * in.bytesPerFrame() + c * (in.bitsPerSample / 8);
            v[c] = in.bitsPerSample == 8 ? (std::uint8_t(in.samples[at]) - 128) / 128.0f
                                         : std::int16_t(le16(in.samples, at)) / 32768.0f;
        }
        if (in.channels == 1) v[1] = v[0];
        if (channels == 1) src[f] = in.channels == 2 ? (v[0] + v[1]) / 2 : v[0];
        else {
            src[2 * f] = v[0];
            src[2 * f + 1] = v[1];
        }
    }
    WavSound out;
    out.sampleRate = sampleRate;
    out.channels = channels;
    out.bitsPerSample = 16;
    std::uint64_t outFrames = in.sampleRate ? frames * sampleRate / in.sampleRate : 0;
    out.samples.resize(outFrames * out.bytesPerFrame());
    for (std::uint64_t f = 0; f < outFrames; ++f) {
        double pos = double(f) * in.sampleRate / sampleRate;
        std::uint64_t i = std::uint64_t(pos);
        double frac = pos - double(i);
        for (std::uint16_t c = 0; c < channels; ++c) {
            float a = src[std::min(i, frames - 1) * channels + c];
            float z = src[std::min(i + 1, frames - 1) * channels + c];
            double v = std::clamp(a + (z - a) * frac, -1.0, 32767.0 / 32768.0);
            auto s = std::int16_t(v * 32768.0);
            std::size_t at = f * out.bytesPerFrame() + c * 2;
            out.samples[at] = char(s & 0xFF);
            out.samples[at + 1] = char((s >> 8) & 0xFF);
        }
    }
    return out;
}

}  // namespace tarvok
