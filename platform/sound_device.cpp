#include "sound_device.h"

#include "platform/regular_file.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QTimer>

namespace tarvok {

void SoundDevice::notifyLater(int code) {
    bool alwaysDelivered = code == Superseded || code == Aborted;
    unsigned gen = generation_;
    QMetaObject::invokeMethod(
        this,
        [this, gen, code, alwaysDelivered] {
            if (alwaysDelivered || gen == generation_) emit done(code);
        },
        Qt::QueuedConnection);
}

std::optional<WavSound> readWavFile(const std::filesystem::path& nativeFile) {
    // A pipe or a device named like a WAV file is refused at once; playback
    // then reports the failure as for a missing file.
    std::optional<std::string> bytes = readRegularFile(nativeFile);
    if (!bytes) return std::nullopt;
    return parseWav(*bytes);
}

bool audioOutputAvailable() { return !QMediaDevices::audioOutputs().isEmpty(); }

std::unique_ptr<SoundDevice> createSoundDevice(QObject* parent) {
    if (audioOutputAvailable()) return std::make_unique<AudioSinkDevice>(parent);
    return std::make_unique<SilentSoundDevice>(parent);
}

// ---------------------------------------------------------------- real device

namespace {
// The end of a sound is reported once its playing time and this margin for
// the output's latency have passed and all its data has gone to the output,
// or else when the output reports that it has drained, whichever comes
// first. The drain report alone can come late: it includes the server's
// whole buffering time (two seconds on a PulseAudio null sink).
constexpr int kEndMarginMilliseconds = 120;
}  // namespace

struct AudioSinkDevice::Impl {
    std::optional<WavSound> sound;  // in the format given to the sink
    QAudioFormat format;
    QBuffer buffer;
    std::unique_ptr<QAudioSink> sink;
    QElapsedTimer sincePlay;
    bool playing = false;
    unsigned playNumber = 0;  // tells a late end-of-data timer from the current play
};

AudioSinkDevice::AudioSinkDevice(QObject* parent) : SoundDevice(parent), d_(std::make_unique<Impl>()) {}

AudioSinkDevice::~AudioSinkDevice() { stopSink(); }

namespace {
QAudioFormat formatOf(const WavSound& w) {
    QAudioFormat f;
    f.setSampleRate(int(w.sampleRate));
    f.setChannelCount(w.channels);
    f.setSampleFormat(w.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    return f;
}
}  // namespace

bool AudioSinkDevice::open(const std::filesystem::path& nativeFile) {
    close();
    setFile(nativeFile);
    d_->sound = readWavFile(nativeFile);
    if (!d_->sound) return false;
    QAudioDevice out = QMediaDevices::defaultAudioOutput();
    d_->format = formatOf(*d_->sound);
    if (!out.isNull() && !out.isFormatSupported(d_->format)) {
        QAudioFormat preferred = out.preferredFormat();
        auto channels = std::uint16_t(preferred.channelCount() == 1 ? 1 : 2);
        d_->sound = convertWav(*d_->sound, std::uint32_t(preferred.sampleRate()), channels);
        d_->format = formatOf(*d_->sound);
    }
    return true;
}

void AudioSinkDevice::stopSink() {
    if (!d_->sink) return;
    d_->sink->disconnect(this);
    d_->sink->stop();
    d_->sink.reset();
    d_->buffer.close();
}

void AudioSinkDevice::play() {
    if (d_->playing) {
        d_->playing = false;
        notifyLater(Superseded);
    }
    stopSink();
    nextGeneration();
    ++d_->playNumber;
    QAudioDevice out = QMediaDevices::defaultAudioOutput();
    if (!d_->sound || out.isNull()) {
        notifyLater(Failure);
        return;
    }
    d_->buffer.setData(QByteArray(d_->sound->samples.data(), qsizetype(d_->sound->samples.size())));
    d_->buffer.open(QIODevice::ReadOnly);
    d_->sink = std::make_unique<QAudioSink>(out, d_->format);
    connect(d_->sink.get(), &QAudioSink::stateChanged, this, [this](QAudio::State s) { sinkStateChanged(int(s)); });
    d_->playing = true;
    d_->sincePlay.start();
    d_->sink->start(&d_->buffer);
    unsigned number = d_->playNumber;
    int endMs = int(d_->sound->durationMicroseconds() / 1000) + kEndMarginMilliseconds;
    QTimer::singleShot(endMs, this, [this, number] {
        if (d_->buffer.atEnd()) finishSuccessfully(number);
    });
}

void AudioSinkDevice::sinkStateChanged(int state) {
    if (!d_->playing || !d_->sink) return;
    if (state == QAudio::IdleState) {
        // All data has been handed to the output. Report the end once the
        // sound's own duration has passed, so "played to its end" holds even
        // when the output still holds some of it in its buffer.
        auto total = qint64(d_->sound->durationMicroseconds() / 1000);
        qint64 remaining = std::max<qint64>(0, total - d_->sincePlay.elapsed());
        unsigned number = d_->playNumber;
        QTimer::singleShot(int(remaining), this, [this, number] { finishSuccessfully(number); });
    } else if (state == QAudio::StoppedState && d_->sink->error() != QAudio::NoError) {
        d_->playing = false;
        notifyLater(Failure);
    }
}

void AudioSinkDevice::finishSuccessfully(unsigned playNumber) {
    if (!d_->playing || playNumber != d_->playNumber) return;
    d_->playing = false;
    stopSink();
    notifyLater(Successful);
}

void AudioSinkDevice::close() {
    if (d_->playing) {
        d_->playing = false;
        notifyLater(Aborted);
    }
    stopSink();
    nextGeneration();
    ++d_->playNumber;
    d_->sound.reset();
}

// -------------------------------------------------------------- silent device

SilentSoundDevice::SilentSoundDevice(QObject* parent) : SoundDevice(parent), timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] {
        playing_ = false;
        notifyLater(Successful);
    });
}

SilentSoundDevice::~SilentSoundDevice() = default;

bool SilentSoundDevice::open(const std::filesystem::path& nativeFile) {
    close();
    setFile(nativeFile);
    sound_ = readWavFile(nativeFile);
    return sound_.has_value();
}

void SilentSoundDevice::play() {
    if (playing_) notifyLater(Superseded);
    timer_->stop();
    playing_ = false;
    nextGeneration();
    if (!sound_) {
        notifyLater(Failure);
        return;
    }
    playing_ = true;
    timer_->start(int((sound_->durationMicroseconds() + 999) / 1000));
}

void SilentSoundDevice::close() {
    if (playing_) notifyLater(Aborted);
    playing_ = false;
    timer_->stop();
    nextGeneration();
    sound_.reset();
}

}  // namespace tarvok
