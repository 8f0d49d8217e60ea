// WAV reading and the sound devices: the silent one always, the real one
// through the audio server that the test script starts (a PulseAudio null
// sink).
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/sound_device.h"
#include "platform/wav_sound.h"
#include "tests/support/fifo_guard.h"
#include "tests/support/real_audio.h"
#include "tests/support/temp_prefix.h"
#include "tests/support/wav_bytes.h"

namespace tarvok {
namespace {

using test::putLe;
using test::wavBytes;

TEST(WavSound, ReadsEveryPcmShape) {
    struct Case {
        std::uint32_t rate;
        std::uint16_t channels, bits;
    } cases[] = {{8000, 1, 8}, {11025, 2, 8}, {22050, 1, 16}, {44100, 2, 16}, {48000, 1, 16}};
    for (const Case& c : cases) {
        auto w = parseWav(wavBytes(100, c.rate, c.channels, c.bits));
        ASSERT_TRUE(w) << c.rate;
        EXPECT_EQ(w->sampleRate, c.rate);
        EXPECT_EQ(w->channels, c.channels);
        EXPECT_EQ(w->bitsPerSample, c.bits);
        EXPECT_EQ(w->frameCount(), c.rate / 10);
        EXPECT_NEAR(double(w->durationMicroseconds()), 100000, 100);
    }
}

TEST(WavSound, APipeNamedLikeAWavFileFailsToOpenAtOnce) {
    test::TempPrefix tp;
    std::filesystem::create_directories(tp.root());
    test::FifoGuard pipe(tp.root() / "Algem1.WAV");
    EXPECT_FALSE(readWavFile(pipe.path()));
    SilentSoundDevice silent;
    EXPECT_FALSE(silent.open(pipe.path()));
    AudioSinkDevice real;
    EXPECT_FALSE(real.open(pipe.path()));
    EXPECT_FALSE(pipe.released()) << "opening the sound waited on the pipe";
}

std::string fmtChunk(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    std::string f = "fmt ";
    putLe(f, 16, 4);
    putLe(f, tag, 2);
    putLe(f, channels, 2);
    putLe(f, rate, 4);
    putLe(f, rate * channels * bits / 8, 4);
    putLe(f, channels * bits / 8, 2);
    putLe(f, bits, 2);
    return f;
}

std::string riff(const std::string& chunks) {
    std::string w = "RIFF";
    putLe(w, std::uint32_t(4 + chunks.size()), 4);
    return w + "WAVE" + chunks;
}

TEST(WavSound, ChunksInAnyOrderWithPaddingAndACutDataChunk) {
    // An odd-sized LIST chunk (padded) before fmt, data claiming more than is there.
    std::string list = "LIST";
    putLe(list, 3, 4);
    list += "abc";
    list.push_back('\0');
    std::string data = "data";
    putLe(data, 1000, 4);
    data += std::string(101, '\x10');  // 50 whole 16-bit frames and one stray byte
    auto w = parseWav(riff(list + fmtChunk(1, 1, 8000, 16) + data));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->samples.size(), 100u);
    EXPECT_EQ(w->frameCount(), 50u);
}

TEST(WavSound, RejectsWhatIsNotPlayablePcm) {
    std::string data = "data";
    putLe(data, 4, 4);
    data += "abcd";
    EXPECT_FALSE(parseWav(""));
    EXPECT_FALSE(parseWav("RIFF\x04\0\0\0WAVE"));                   // no chunks
    EXPECT_FALSE(parseWav(riff(data)));                             // no format
    EXPECT_FALSE(parseWav(riff(fmtChunk(1, 1, 8000, 16))));         // no data
    EXPECT_FALSE(parseWav(riff(fmtChunk(3, 1, 8000, 32) + data)));  // float
    EXPECT_FALSE(parseWav(riff(fmtChunk(1, 6, 8000, 16) + data)));  // six channels
    EXPECT_FALSE(parseWav(riff(fmtChunk(1, 1, 8000, 24) + data)));  // 24 bits
    EXPECT_FALSE(parseWav(riff(fmtChunk(1, 1, 0, 16) + data)));     // no rate
    EXPECT_FALSE(parseWav("RIFX" + riff(data).substr(4)));
    EXPECT_TRUE(parseWav(riff(fmtChunk(1, 2, 8000, 8) + data)));
}

TEST(WavSound, ConversionKeepsTheDurationAndTheSignal) {
    WavSound in = *parseWav(wavBytes(200, 11025, 1, 8, 500));
    WavSound out = convertWav(in, 44100, 2);
    EXPECT_EQ(out.bitsPerSample, 16);
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.frameCount(), 4 * in.frameCount());
    EXPECT_NEAR(double(out.durationMicroseconds()), double(in.durationMicroseconds()), 100);
    // Both channels carry the same tone, at the same amplitude (0.3).
    int peak = 0;
    for (std::size_t f = 0; f < out.frameCount(); ++f) {
        auto l = std::int16_t(std::uint8_t(out.samples[4 * f]) | std::uint8_t(out.samples[4 * f + 1]) << 8);
        auto r = std::int16_t(std::uint8_t(out.samples[4 * f + 2]) | std::uint8_t(out.samples[4 * f + 3]) << 8);
        ASSERT_EQ(l, r);
        peak = std::max(peak, std::abs(int(l)));
    }
    EXPECT_NEAR(peak, 0.3 * 32768, 600);
}

// The notices a device gives for one play, waiting up to `ms`.
std::vector<int> noticesWithin(SoundDevice& d, int ms, int stopAfter = 1) {
    QSignalSpy spy(&d, &SoundDevice::done);
    QElapsedTimer t;
    t.start();
    while (spy.count() < stopAfter && t.elapsed() < ms) spy.wait(ms - int(t.elapsed()));
    std::vector<int> codes;
    for (const auto& args : spy) codes.push_back(args.at(0).toInt());
    return codes;
}

TEST(SilentSoundDevice, EndsAfterTheSoundsDuration) {
    test::TempPrefix tp;
    auto file = tp.writeDos("C:\\S\\a.wav", wavBytes(150));
    SilentSoundDevice d;
    ASSERT_TRUE(d.open(file));
    QElapsedTimer t;
    t.start();
    d.play();
    EXPECT_EQ(noticesWithin(d, 3000), std::vector<int>{1});
    EXPECT_GE(t.elapsed(), 140);
}

TEST(SilentSoundDevice, MissingFileFailsAndCloseAborts) {
    test::TempPrefix tp;
    SilentSoundDevice d;
    EXPECT_FALSE(d.open(tp.root() / "none.wav"));
    d.play();
    EXPECT_EQ(noticesWithin(d, 500), std::vector<int>{8});

    auto file = tp.writeDos("C:\\S\\long.wav", wavBytes(2000));
    ASSERT_TRUE(d.open(file));
    d.play();
    d.close();
    // Aborted, and never a late success.
    EXPECT_EQ(noticesWithin(d, 300, 2), std::vector<int>{4});
}

TEST(SilentSoundDevice, PlayingAgainSupersedes) {
    test::TempPrefix tp;
    auto file = tp.writeDos("C:\\S\\a.wav", wavBytes(100));
    SilentSoundDevice d;
    ASSERT_TRUE(d.open(file));
    d.play();
    d.play();
    EXPECT_EQ(noticesWithin(d, 2000, 2), (std::vector<int>{2, 1}));
}

using test::RealAudio;

TEST_F(RealAudio, PlaysARealWavToItsEnd) {
    test::TempPrefix tp;
    for (auto [rate, channels, bits] : {std::tuple{22050u, 1, 16}, std::tuple{11025u, 2, 8}}) {
        SCOPED_TRACE(rate);
        auto file = tp.writeDos("C:\\S\\tone.wav", wavBytes(300, rate, std::uint16_t(channels), std::uint16_t(bits)));
        AudioSinkDevice d;
        ASSERT_TRUE(d.open(file));
        QElapsedTimer t;
        t.start();
        d.play();
        EXPECT_EQ(noticesWithin(d, 5000), std::vector<int>{1});
        EXPECT_GE(t.elapsed(), 280);
    }
}

TEST_F(RealAudio, UnplayableFileNeverReportsSuccess) {
    test::TempPrefix tp;
    auto file = tp.writeDos("C:\\S\\bad.wav", "RIFF junk that is no wave");
    AudioSinkDevice d;
    EXPECT_FALSE(d.open(file));
    d.play();
    EXPECT_EQ(noticesWithin(d, 500), std::vector<int>{8});

    auto good = tp.writeDos("C:\\S\\long.wav", wavBytes(3000));
    ASSERT_TRUE(d.open(good));
    QSignalSpy all(&d, &SoundDevice::done);
    d.play();
    QTest::qWait(100);
    d.close();
    QTest::qWait(300);
    std::vector<int> codes;
    for (const auto& n : all) codes.push_back(n.at(0).toInt());
    EXPECT_EQ(codes, std::vector<int>{4});
}

}  // namespace
}  // namespace tarvok
