// The Dutch and English texts of the main window: captions and tooltips of
// its controls, and the status-line texts of the shell. Windows-1252 text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/control_texts.h"
#include "common/language.h"

namespace tarvok {

// Every control of the main window that has a caption or a tooltip; null
// means the control has none of that kind.
const std::vector<ControlTexts>& mainWindowTexts();

enum class ShellStatus {
    Welcome,
    PleaseLoadMap,
    NavigationStopped,
    PlaybackStopped,
    Goodbye,
    SoundOn,
    SoundOff,
    ZoomInKey,
    ZoomOutKey,
    TrailShown,
    TrailHidden,
};

const char* shellStatusText(ShellStatus status, Language language);

// The main window's title: "Tarvok", and with a map loaded its file name in
// upper case behind it ("Tarvok - DELFT.BMP"), so a task list tells which
// map is open.
std::string mainWindowTitle(std::string_view mapPath);

// "Xcor.= " & X & " ; Ycor.= " & Y
std::string screenCorrectionText(long x, long y);

// The user guide could not be shown: it is missing, or the desktop has no
// program for HTML files. Names the guide's full path, so the user can open
// it by hand.
std::vector<std::string> userGuideNotShownLines(Language language, bool missing, const std::string& nativePath);

// " Interval:" & seconds & " sec."
std::string intervalText(int seconds);

}  // namespace tarvok
