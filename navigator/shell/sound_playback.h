// WAV playback of the navigator: the multimedia control MMControl1 with its
// opening sequence, PlaySound, the completion code and the bounded wait for
// the end of a sound.
//
// Every sound goes through one device and is opened and closed per sound,
// so starting a new sound always cuts off the previous one. The completion
// code lives in the shared NavigatorState: the device's completion notice
// stores its notify code there (MMcontrol1_done), and a wait ends early only
// when the code is 1.
#pragma once

#include <QObject>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/sound_device.h"

class QEventLoop;

namespace tarvok {

class DosPaths;
struct NavigatorState;

class SoundPlayback : public QObject {
    Q_OBJECT
public:
    SoundPlayback(NavigatorState& state, const DosPaths& paths, std::unique_ptr<SoundDevice> device,
                  QObject* parent = nullptr);
    ~SoundPlayback() override;

    // Wait bounds, counted in passes through the event queue as the callers
    // state them. A pass is taken to last passDuration() (40 microseconds by
    // default), so the 250,000 passes of PlaySound and of the zoom words are
    // 10 seconds and the 2,500,000 passes of a spoken map name 100 seconds:
    // long enough for any recorded word, short enough that a sound that
    // never reports its end (a missing file) does not hold the caller long.
    static constexpr long kPlaySoundPasses = 250000;
    static std::chrono::microseconds passDuration();
    // Tests shorten the bounds with this.
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

    // PlaySound: plays the current sound name from the sound folder and
    // waits for its end, then closes the device and sets the completion code
    // to 1. With the sound setting "0" it returns at once and touches
    // nothing.
    void playSound();

    // Sets the completion code; setting it to 1 ends every wait.
    void setCompletionCode(int code);

    // MMcontrol1_done: stores the notify code as the completion code.
    void done(int notifyCode);

    // Ends every running wait at once (the window is closing).
    void abortWaits();

    // How many sounds have been started so far; tells a caller whether its
    // sound is still the last one started.
    unsigned soundsStarted() const { return started_; }

    SoundDevice& device() { return *device_; }

signals:
    // Every completion notice of the device, after it was stored.
    void notified(int notifyCode);

private:
    NavigatorState& state_;
    const DosPaths& paths_;
    std::unique_ptr<SoundDevice> device_;
    std::vector<QEventLoop*> waits_;
    unsigned started_ = 0;
};

}  // namespace tarvok
