// The Dutch and English texts of the main window: captions and tooltips of
// its controls, and the status-line texts of the shell. Windows-1252 text.
#pragma once

#include <string>
#include <vector>

namespace tarvok {

struct ControlTexts {
    const char* name;  // the control's name
    const char* captionDutch;
    const char* captionEnglish;
    const char* tooltipDutch;
    const char* tooltipEnglish;
};

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
};

const char* shellStatusText(ShellStatus status, bool dutch);

// "Xcor.= " & X & " ; Ycor.= " & Y
std::string screenCorrectionText(long x, long y);

// " Interval:" & seconds & " sec."
std::string intervalText(int seconds);

// The time of day as the system writes it: "9:05:33".
std::string timeOfDayText(int hour, int minute, int second);

// The clock text of Tijds: hours without leading zero, then "0" put in front
// when the second character is ":" ("9:05:33" -> "09:05:33").
std::string clockText(int hour, int minute, int second);

// The short date (day-month-year, day and month without leading zeros),
// with "0" put in front when the second character is "-" ("7-12-2026" ->
// "07-12-2026").
std::string dateText(int day, int month, int year);

}  // namespace tarvok
