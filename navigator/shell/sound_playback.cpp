#include "sound_playback.h"

#include "navigator/shell/navigator_state.h"

namespace tarvok {

SoundPlayback::SoundPlayback(NavigatorState& state, const DosPaths& paths, std::unique_ptr<SoundDevice> device,
                             QObject* parent)
    : MediaControl(paths, std::move(device), parent), state_(state) {}

void SoundPlayback::playSound() {
    MediaControl::playSound(state_.settings.soundOn, state_.soundFolderPath(), state_.currentSoundName);
}

}  // namespace tarvok
