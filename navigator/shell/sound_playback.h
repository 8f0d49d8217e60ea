// The navigator's multimedia control MMControl1 and its PlaySound.
//
// The control itself (opening sequence, completion code, bounded waits) is
// the platform's MediaControl; the navigator adds PlaySound, which plays the
// current sound name from the sound folder on the program drive when the
// sound setting allows it. The zoom words, the spoken map names, the
// welcome sound and the announcements use the control's opening sequence and
// waits directly.
#pragma once

#include <memory>

#include "platform/media_control.h"

namespace tarvok {

struct NavigatorState;

class SoundPlayback : public MediaControl {
    Q_OBJECT
public:
    SoundPlayback(NavigatorState& state, const DosPaths& paths, std::unique_ptr<SoundDevice> device,
                  QObject* parent = nullptr);

    // PlaySound: plays the current sound name from the sound folder and
    // waits for its end, then closes the device and sets the completion code
    // to 1. With the sound setting "0" it returns at once and touches
    // nothing.
    void playSound();

private:
    NavigatorState& state_;
};

}  // namespace tarvok
