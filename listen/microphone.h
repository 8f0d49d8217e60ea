// The default audio input as 16 kHz mono 16-bit samples, through Qt
// Multimedia (PulseAudio on a desktop). Driven by the input's readyRead: no
// thread, no polling. An input that fails or goes away is reported once and
// looked for again every few seconds until it is back.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

class QAudioSource;
class QIODevice;

namespace tarvok::listen {

class Microphone : public QObject {
    Q_OBJECT
public:
    using Receiver = std::function<void(std::span<const std::int16_t>)>;

    Microphone(Receiver receiver, QObject* parent = nullptr);
    ~Microphone() override;

    // Whether an audio input exists at all.
    static bool available();

    // Starts or stops taking sound (the microphone switched on or off).
    void setOn(bool on);
    bool isOn() const { return on_; }
    // Whether sound is arriving now.
    bool isRunning() const;

signals:
    // A message for the user: the input failed, vanished or came back.
    void report(const QString& text);

private:
    bool open();
    void close();
    void readAvailable();
    void checkState();

    Receiver receiver_;
    std::unique_ptr<QAudioSource> source_;
    QIODevice* stream_ = nullptr;
    QTimer retry_;
    bool on_ = false;
    bool failed_ = false;
};

}  // namespace tarvok::listen
