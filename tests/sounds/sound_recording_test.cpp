// The conversion of synthesised speech into the sets' sample format and
// file layout.
#include <cmath>
#include <gtest/gtest.h>

#include "navigator/gps/announcement.h"
#include "platform/wav_sound.h"
#include "sounds/sound_recording.h"

namespace tarvok::sounds {
namespace {

std::vector<std::int16_t> tone(double hz, double amplitude, int count, int rate = 22050) {
    std::vector<std::int16_t> s(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        s[static_cast<std::size_t>(i)] =
            static_cast<std::int16_t>(std::lround(amplitude * std::sin(2 * 3.14159265358979 * hz * i / rate)));
    return s;
}

// Root mean square of the middle half, away from the filter's edges.
double middleRms(const std::vector<std::int16_t>& s) {
    double sum = 0;
    const std::size_t from = s.size() / 4, to = 3 * s.size() / 4;
    for (std::size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(to - from));
}

TEST(SoundRecording, HalvingTheRateKeepsSpeechAndRemovesWhatWouldAlias) {
    const double amplitude = 20000, inputRms = amplitude / std::sqrt(2.0);
    for (double hz : {200.0, 1000.0, 3000.0, 4000.0}) {
        auto out = halveSampleRate(tone(hz, amplitude, 22051));
        EXPECT_EQ(out.size(), 11026u);
        EXPECT_NEAR(middleRms(out) / inputRms, 1.0, 0.02) << hz;
    }
    // Above the new Nyquist frequency (5512 Hz) a tone would fold back
    // into the audible band; the filter takes it down by more than 60 dB.
    for (double hz : {6000.0, 7500.0, 10000.0}) {
        auto out = halveSampleRate(tone(hz, amplitude, 22050));
        EXPECT_LT(middleRms(out) / inputRms, 0.001) << hz;
    }
    // The output keeps the input's timing: sample m is input sample 2m.
    std::vector<std::int16_t> step(2000, 0);
    std::fill(step.begin() + 1000, step.end(), std::int16_t(10000));
    auto out = halveSampleRate(step);
    EXPECT_LT(std::abs(out[480]), 100);
    EXPECT_LT(out[499], 5000);
    EXPECT_GT(out[501], 5000);
    EXPECT_NEAR(out[520], 10000, 100);
}

TEST(SoundRecording, SilenceIsTrimmedLeavingALeadInAndTheDecay) {
    const int rate = 11025;
    std::vector<std::int16_t> s(2000, 0);
    for (int i = 1000; i < 1100; ++i) s[std::size_t(i)] = 3000;
    s[900] = 200;  // below the threshold: still silence
    auto t = trimSilence(s, rate);
    // 5 ms (55 samples) before, 20 ms (220 samples) after.
    ASSERT_EQ(t.size(), 55u + 100u + 220u);
    EXPECT_EQ(t[54], 0);
    EXPECT_EQ(t[55], 3000);
    EXPECT_EQ(t[154], 3000);
    EXPECT_EQ(t[155], 0);

    // Sound right at the edges is kept whole.
    std::vector<std::int16_t> loud(300, -4000);
    EXPECT_EQ(trimSilence(loud, rate).size(), 300u);
    EXPECT_TRUE(trimSilence(std::vector<std::int16_t>(500, 100), rate).empty());
    EXPECT_TRUE(trimSilence({}, rate).empty());
}

TEST(SoundRecording, EightBitSamplesAreUnsignedRoundedAndClipped) {
    EXPECT_EQ(toUnsigned8({0, 127, 128, -128, -129, 32767, -32768}), std::string("\x80\x80\x81\x7F\x7F\xFF\x00", 7));
    EXPECT_EQ(toUnsigned8({32767, -32768, 25600}, 2.0), std::string("\xFF\x00\xFF", 3));
    EXPECT_EQ(toUnsigned8({25600}, 0.5), std::string("\xB2", 1));
}

// The chunk ids of a RIFF file and their offsets, walking the chunk sizes.
std::vector<std::pair<std::string, std::size_t>> chunks(const std::string& f) {
    std::vector<std::pair<std::string, std::size_t>> out;
    std::size_t at = 12;
    while (at + 8 <= f.size()) {
        std::uint32_t size = std::uint8_t(f[at + 4]) | std::uint8_t(f[at + 5]) << 8 | std::uint8_t(f[at + 6]) << 16 |
                             std::uint32_t(std::uint8_t(f[at + 7])) << 24;
        out.emplace_back(f.substr(at, 4), at);
        at += 8 + size + (size & 1);
    }
    EXPECT_EQ(at, f.size());
    return out;
}

TEST(SoundRecording, FileLayoutPutsTheSpokenSamplesWhereTheAnnouncementCutsThem) {
    for (std::size_t count : {1u, 2u, 999u, 1000u, 19850u}) {
        SCOPED_TRACE(count);
        std::string spoken;
        for (std::size_t i = 0; i < count; ++i) spoken.push_back(char(1 + i % 250));
        const std::string file = soundFile(spoken);
        const std::size_t padded = count + count % 2;
        ASSERT_EQ(file.size(), padded + 150);

        // Every chunk on an even offset; the announcement's cut is exactly
        // the spoken samples (an odd count gets one silent sample more).
        for (auto& [id, at] : chunks(file)) EXPECT_EQ(at % 2, 0u) << id;
        std::string expected = spoken;
        if (count % 2) expected.push_back('\x80');
        EXPECT_EQ(gps::fragmentFromFile(std::string_view(file).substr(0, gps::kFragmentFileReadLimit), file.size()),
                  expected);

        // A WAV reader sees 8-bit mono at 11025 per second: a silent sample,
        // the spoken ones, a silent sample.
        auto wav = parseWav(file);
        ASSERT_TRUE(wav);
        EXPECT_EQ(wav->sampleRate, 11025u);
        EXPECT_EQ(wav->channels, 1);
        EXPECT_EQ(wav->bitsPerSample, 8);
        EXPECT_EQ(wav->samples, "\x80" + expected + "\x80");
    }
}

}  // namespace
}  // namespace tarvok::sounds
