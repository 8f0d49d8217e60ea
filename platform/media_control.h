// The multimedia control MMControl1 of both programs: the "WaveAudio"
// device with its opening sequence, its completion code and the bounded
// wait for the end of a sound that keeps the window responsive.
//
// Every sound goes through one device and is opened and closed per sound,
// so starting a new sound always cuts off the previous one. The device's
// completion notice stores its notify code as the completion code
// (MMcontrol1_done); a wait ends early only when the code is 1.
//
// The control knows nothing of either program's settings: each call is
// told the sound switch (the settings string's sound character, "1" on,
// "0" off) and the sound folder (a DOS folder such as "C:\TARVOK\SOUND\").
#pragma once

#include <QObject>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/sound_device.h"

class QEventLoop;

namespace tarvok {

class DosPaths;

class MediaControl : public QObject {
    Q_OBJECT
public:
    MediaControl(const DosPaths& paths, std::unique_ptr<SoundDevice> device, QObject* parent = nullptr);
    ~MediaControl() override;

    // Wait bounds, counted in passes through the event queue as the callers
    // state them. A pass is taken to last passDuration() (40 microseconds by
    // default), so the 250,000 passes of PlaySound and of the zoom words are
    // 10 seconds, the 120,000 checks of a prompt 4.8 seconds and the
    // 2,500,000 passes of a spoken map name 100 seconds: long enough for any
    // recorded word, short enough that a sound that never reports its end (a
    // missing file) does not hold the caller long.
    static constexpr long kPlaySoundPasses = 250000;
    static constexpr long kPromptChecks = 120000;
    // After a prompt the control is closed and the event queue is given
    // this many more turns before the next prompt.
    static constexpr int kYieldsAfterPrompt = 100;
    static std::chrono::microseconds passDuration();
    // Tests and scripts shorten the bounds with this.
    static void setPassDuration(std::chrono::microseconds perPass);

    // The opening sequence: completion code 0, "Close" (which ends whatever
    // played), open the file (a DOS path), "Play". Returns at once; the
    // device's notice sets the completion code later. A missing or
    // unplayable file gives no message.
    void start(const std::string& dosPath);

    // The "Close" command: stops what plays.
    void close();

    // Waits, keeping the window responsive, until the completion code is 1
    // or the bound for `passes` has passed. True when it ended on code 1.
    // Handlers that run nested inside it may start sounds and waits of their
    // own.
    bool waitForEnd(long passes);

    // The navigator's PlaySound: plays the file from the sound folder and
    // waits for its end (at most kPlaySoundPasses), then closes the device
    // and sets the completion code to 1. With the sound switch "0" it
    // returns at once and touches nothing.
    void playSound(char soundSwitch, const std::string& soundFolder, const std::string& fileName);

    // The settings program's PlayPrompt: with the sound switch "0" it returns
    // at once; otherwise it closes what plays (completion code 1 first, so
    // that a prompt waiting further out ends), starts the prompt from the
    // sound folder and, with the switch "1", waits for its end (at most
    // kPromptChecks), closes, sets the completion code to 1 and yields
    // kYieldsAfterPrompt times. With any other switch value the prompt is
    // started and not waited for.
    void playPrompt(char soundSwitch, const std::string& soundFolder, const std::string& fileName);

    // The notify code of the last completion notice; 1: a sound played to
    // its end (or a wait for it is over), 0: a sound was started.
    int completionCode() const { return completionCode_; }
    // Sets the completion code; setting it to 1 ends every wait.
    void setCompletionCode(int code);

    // MMcontrol1_done: stores the notify code as the completion code.
    void done(int notifyCode);

    // Ends every running wait at once (the window is closing).
    void abortWaits();

    // How many sounds have been started so far; tells a caller whether its
    // sound is still the last one started.
    unsigned soundsStarted() const { return started_; }

    // The sound files started since the last call, as DOS paths in the
    // order they were started. The most recent kStartedSoundsKept are kept.
    std::vector<std::string> takeStartedSounds();
    static constexpr std::size_t kStartedSoundsKept = 1000;

    SoundDevice& device() { return *device_; }

signals:
    // Every completion notice of the device, after it was stored.
    void notified(int notifyCode);

private:
    const DosPaths& paths_;
    std::unique_ptr<SoundDevice> device_;
    std::vector<QEventLoop*> waits_;
    std::int16_t completionCode_ = 0;
    unsigned started_ = 0;
    std::deque<std::string> startedFiles_;
};

}  // namespace tarvok
