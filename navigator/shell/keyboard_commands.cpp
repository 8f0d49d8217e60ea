#include "keyboard_commands.h"

#include <algorithm>

#include "navigator/shell/shell_texts.h"

namespace tarvok {

namespace {

constexpr std::int32_t kCorrectionLimit = 800;
constexpr std::int32_t kCorrectionStep = 20;
constexpr int kHighestIntervalStep = 14;
constexpr int kHighestZoomLevel = 5;

KeyOutcome correction(NavigatorState& s, std::int32_t& value, int direction) {
    if (direction > 0 && value < kCorrectionLimit) value += kCorrectionStep;
    if (direction < 0 && value > -kCorrectionLimit) value -= kCorrectionStep;
    return {KeyCommand::ScreenCorrection, screenCorrectionText(s.screenCorrectionX, s.screenCorrectionY), {}};
}

KeyOutcome speedUnit(NavigatorState& s, char unit, const char* word) {
    s.settings.speedUnit = unit;
    s.unitWord = word;
    KeyOutcome o{KeyCommand::SpeedUnit, {}, {}};
    if (s.settings.soundOn == '1') o.unitWordFile = s.soundPath(std::string(word) + ".WAV");
    return o;
}

}  // namespace

KeyOutcome applyKey(NavigatorState& s, int keyAscii) {
    s.keyPreview = !s.modeRunning();
    int key = (keyAscii >= 'a' && keyAscii <= 'z') ? keyAscii - 'a' + 'A' : keyAscii;
    const Language language = s.language();
    switch (key) {
    case 27: s.stopRequest = true; return {KeyCommand::Escape, {}, {}};
    case 'O': return correction(s, s.screenCorrectionX, +1);
    case 'W': return correction(s, s.screenCorrectionX, -1);
    case 'N': return correction(s, s.screenCorrectionY, +1);
    case 'Z': return correction(s, s.screenCorrectionY, -1);
    case 'G':
        if (s.settings.soundOn == '0') {
            s.settings.soundOn = '1';
            return {KeyCommand::SoundSwitchedOn, shellStatusText(ShellStatus::SoundOn, language), {}, true};
        }
        s.settings.soundOn = '0';
        return {KeyCommand::SoundSwitchedOff, shellStatusText(ShellStatus::SoundOff, language), {}, true};
    case 'I': return {KeyCommand::ZoomIn, shellStatusText(ShellStatus::ZoomInKey, language), {}};
    case 'U': return {KeyCommand::ZoomOut, shellStatusText(ShellStatus::ZoomOutKey, language), {}};
    case 'K': return speedUnit(s, '1', "kmh");
    case 'M': return speedUnit(s, '2', "mph");
    case 'T': return speedUnit(s, '3', "kts");
    case 'P':
        s.trailShown = !s.trailShown;
        return {KeyCommand::Trail,
                shellStatusText(s.trailShown ? ShellStatus::TrailShown : ShellStatus::TrailHidden, language),
                {}};
    case 'L':
    case 'R':
        s.intervalStep = std::clamp(s.intervalStep + (key == 'R' ? 1 : -1), 0, kHighestIntervalStep);
        return {KeyCommand::Interval, intervalText(2 * (s.intervalStep + 1)), {}};
    default: break;
    }
    if (key >= '0' && key <= '9' && s.modeRunning()) {
        s.targetZoomLevel = std::int16_t(std::min(key - '0', kHighestZoomLevel));
        return {s.targetZoomLevel == 0 ? KeyCommand::ZoomFull : KeyCommand::ZoomToLevel, {}, {}};
    }
    return {};
}

}  // namespace tarvok
