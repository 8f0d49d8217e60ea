#include "listen/microphone.h"

#include "listen/recogniser.h"

#include <QAudioFormat>
#include <QAudioSource>
#include <QMediaDevices>
#include <cstring>
#include <vector>

namespace tarvok::listen {

namespace {
constexpr int retryMilliseconds = 3000;
// About 50 ms of sound per delivery keeps the end of a phrase from waiting
// long in the input's buffer.
constexpr int bufferBytes = Recogniser::sampleRate * 2 / 20;
}  // namespace

Microphone::Microphone(Receiver receiver, QObject* parent) : QObject(parent), receiver_(std::move(receiver)) {
    retry_.setInterval(retryMilliseconds);
    connect(&retry_, &QTimer::timeout, this, [this] {
        if (on_ && !isRunning() && open()) {
            retry_.stop();
            emit report(QStringLiteral("The audio input is back: listening again"));
        }
    });
}

Microphone::~Microphone() { close(); }

bool Microphone::available() { return !QMediaDevices::audioInputs().isEmpty(); }

bool Microphone::isRunning() const { return source_ && source_->state() != QAudio::StoppedState; }

void Microphone::setOn(bool on) {
    on_ = on;
    if (!on) {
        retry_.stop();
        close();
        return;
    }
    if (isRunning()) return;
    if (!open()) retry_.start();
}

bool Microphone::open() {
    close();
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        if (!failed_)
            emit report(QStringLiteral("No audio input found: connect a microphone (looking again every few seconds)"));
        failed_ = true;
        return false;
    }
    QAudioFormat format;
    format.setSampleRate(Recogniser::sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        if (!failed_)
            emit report(
                QStringLiteral("The audio input \"%1\" cannot record 16 kHz mono sound").arg(device.description()));
        failed_ = true;
        return false;
    }
    source_ = std::make_unique<QAudioSource>(device, format);
    source_->setBufferSize(bufferBytes);
    connect(source_.get(), &QAudioSource::stateChanged, this, &Microphone::checkState);
    stream_ = source_->start();
    if (!stream_ || source_->error() != QAudio::NoError) {
        if (!failed_)
            emit report(QStringLiteral("The audio input \"%1\" could not be opened").arg(device.description()));
        failed_ = true;
        close();
        return false;
    }
    connect(stream_, &QIODevice::readyRead, this, &Microphone::readAvailable);
    failed_ = false;
    return true;
}

void Microphone::close() {
    if (!source_) return;
    source_->disconnect(this);
    if (stream_) stream_->disconnect(this);
    source_->stop();
    source_.reset();
    stream_ = nullptr;
}

void Microphone::readAvailable() {
    if (!stream_) return;
    const QByteArray bytes = stream_->readAll();
    const auto count = static_cast<std::size_t>(bytes.size()) / 2;
    if (count == 0) return;
    std::vector<std::int16_t> samples(count);
    std::memcpy(samples.data(), bytes.constData(), count * 2);
    receiver_(samples);
}

void Microphone::checkState() {
    if (!source_ || source_->error() == QAudio::NoError || !on_) return;
    // The device went away or failed: let it go and look for it again.
    emit report(QStringLiteral("The audio input stopped: looking for it again every few seconds"));
    failed_ = true;
    // Not closed from inside the source's own notice: the next turn of the
    // event loop lets it go.
    QMetaObject::invokeMethod(
        this,
        [this] {
            close();
            if (on_) retry_.start();
        },
        Qt::QueuedConnection);
}

}  // namespace tarvok::listen
