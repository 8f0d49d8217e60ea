// The keyboard commands of the main window (Form_KeyPress) as a pure rule
// on the shared state. The window runs the returned command's calls (zoom,
// speech, closing) and shows the status text.
#pragma once

#include <string>

#include "navigator/shell/navigator_state.h"

namespace tarvok {

enum class KeyCommand {
    None,              // any other key, or a digit while no mode runs
    Escape,            // stop request set; beep, yield, close the window
    ScreenCorrection,  // O, W, N, Z: status shows the correction
    SoundSwitchedOn,   // G: completion code 1, then LoadSpeechFragments
    SoundSwitchedOff,  // G: completion code 1
    ZoomIn,            // I
    ZoomOut,           // U
    ZoomFull,          // 0 while a mode runs (target level 0)
    ZoomToLevel,       // 1..9 while a mode runs (target level 1..5)
    SpeedUnit,         // K, M, T; reload the unit word when unitWordFile is set
    Interval,          // L, R
    Trail,             // P: the trail shown or hidden (trailShown switched)
};

struct KeyOutcome {
    KeyCommand command = KeyCommand::None;
    std::string status;          // new text of the status line; empty leaves it
    std::string unitWordFile;    // DOS path of the unit word to reload, or empty
    bool endSoundWaits = false;  // the completion code becomes 1: a running sound wait ends
};

// First switches key preview off while a mode runs (on otherwise), then
// applies the key (upper and lower case alike): screen correction in steps
// of 20 within -800..800, the sound setting, the target zoom level (digits 6
// to 9 ask for levels above the highest, 5, and are taken as 5), the speed
// unit and its word, and the interval step 0..14 (L lowers, R raises; the
// step lasts until the next press).
KeyOutcome applyKey(NavigatorState& state, int keyAscii);

}  // namespace tarvok
