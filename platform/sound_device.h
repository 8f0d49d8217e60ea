// The WAV player that stands for the multimedia control's "WaveAudio"
// device: close, open by file name, play, and a completion notice.
//
// done(notifyCode) follows the notify codes of that control:
//   1 the sound played to its end,
//   2 superseded (play was given again while a sound played),
//   4 aborted (closed while it played),
//   8 failure (nothing could be played: a missing, unreadable or unplayable
//     file, or an audio output that failed).
// A missing or unplayable file never reports 1. Notices are delivered
// through the event queue, never from inside open(), play() or close().
#pragma once

#include <QObject>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/wav_sound.h"

namespace tarvok {

class SoundDevice : public QObject {
    Q_OBJECT
public:
    enum NotifyCode { Successful = 1, Superseded = 2, Aborted = 4, Failure = 8 };

    explicit SoundDevice(QObject* parent = nullptr) : QObject(parent) {}

    // Reads the file; false when it is missing or not a PCM WAV file (a
    // later play() then reports failure).
    virtual bool open(const std::filesystem::path& nativeFile) = 0;
    // Plays the opened sound from its start.
    virtual void play() = 0;
    // Stops what plays and forgets the sound.
    virtual void close() = 0;

    // The native file of the last open, for tests and diagnostics.
    const std::filesystem::path& fileName() const { return file_; }

signals:
    void done(int notifyCode);

protected:
    // Queues a notice. Success and failure belong to one play: they are
    // dropped when the device has been opened, played or closed since, so a
    // late notice never reaches the next sound's waiter. Superseded and
    // aborted notices are always delivered.
    void notifyLater(int code);
    // Starts a new play/open/close generation.
    void nextGeneration() { ++generation_; }
    void setFile(const std::filesystem::path& f) { file_ = f; }

private:
    std::filesystem::path file_;
    unsigned generation_ = 0;
};

// Plays through Qt Multimedia (QAudioSink) on the default audio output.
// A sound in a format the output does not take is converted to the
// output's preferred rate and channel count.
class AudioSinkDevice : public SoundDevice {
    Q_OBJECT
public:
    explicit AudioSinkDevice(QObject* parent = nullptr);
    ~AudioSinkDevice() override;
    bool open(const std::filesystem::path& nativeFile) override;
    void play() override;
    void close() override;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    void stopSink();
    void sinkStateChanged(int state);
    void finishSuccessfully(unsigned playNumber);
};

// Plays nothing and reports the end after the sound's own duration; used
// when the machine has no audio output.
class SilentSoundDevice : public SoundDevice {
    Q_OBJECT
public:
    explicit SilentSoundDevice(QObject* parent = nullptr);
    ~SilentSoundDevice() override;
    bool open(const std::filesystem::path& nativeFile) override;
    void play() override;
    void close() override;

private:
    std::optional<WavSound> sound_;
    QTimer* timer_;
    bool playing_ = false;
};

// Reads and parses a WAV file; nothing when it is missing or not PCM WAV.
std::optional<WavSound> readWavFile(const std::filesystem::path& nativeFile);

// The real device when Qt Multimedia lists an audio output, else the silent
// one.
std::unique_ptr<SoundDevice> createSoundDevice(QObject* parent = nullptr);

// Whether Qt Multimedia lists at least one audio output.
bool audioOutputAvailable();

}  // namespace tarvok
