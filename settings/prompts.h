// What the settings program says: the explanation routines as data (each
// gives the prompt files it plays, in order, for the settings string it is
// given), the prompts of the port buttons, and the time and date speech.
//
// Prompt names are file names in the sound folder of the window's language;
// numbers are spoken from files named after them ("7.WAV", "IN14400.WAV").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "common/settings.h"

namespace tarvok::settings {

enum class Explanation {
    None,
    Greeting,
    MapProduct,
    SpeedUnit,
    Language,
    CloseWindows,
    GeneralPage,
    PortsPage,
    BaudRate,
    Parity,
    DataBits,
    ComPort,
    RouteSource,
    ScreenSideOrCrossSize,
    RouteRecording,
    MapsPage,
    SoundSwitch,
    SoundPage,
    KeyboardSize,
    MenuStyle,
    ColourScheme,
    MiscPage,
};

// The language the string's language field chooses.
Language languageIn(const SettingsString& s);

// The prompt files of a routine. A value that none of its choices lists
// contributes no file.
std::vector<std::string> explanationPrompts(Explanation e, const SettingsString& s);

// The page explanations, pages 1 to 5 (general, ports, maps, sound,
// miscellaneous).
Explanation pageExplanation(int page);

// The text with every blank removed, as prompt names take box texts.
std::string withoutBlanks(std::string_view text);

// The prompts that speak a serial-port value from its text: "IN" and the
// baud rate ("IN4800.WAV"); "INparit1.WAV" and the parity flag ("1.WAV");
// "INbits1.WAV" and the data bits ("8.WAV"); "INcompo.WAV" and "IN" with the
// port's display ("INCOM-1.WAV"). Blanks in the texts are left out.
std::vector<std::string> baudRatePrompts(std::string_view baudText);
std::vector<std::string> parityPrompts(std::string_view parityText);
std::vector<std::string> dataBitsPrompts(std::string_view dataBitsText);
std::vector<std::string> comPortPrompts(std::string_view portDisplay);

// The display of a port number: "COM-1".
std::string portDisplay(std::string_view number);

// The file that speaks a number: its decimal text and ".WAV" ("15.WAV").
std::string numberFile(long long n);

// The sound folder of the language on the program drive:
// "C:\TARVOK\GELUID\" (Dutch) or "C:\TARVOK\SOUND\" (English).
std::string promptFolder(char drive, Language language);
// The DOS path of a prompt: its sound folder and its name.
std::string promptPath(char drive, Language language, std::string_view prompt);

// The time speech from the clock text (two-digit hour): "Hetis2.WAV", the
// hour, "Uur1.WAV", the minutes, "Minuten.WAV" (09:05 -> "09.WAV", "05.WAV").
std::vector<std::string> timeSpeech(int hour, int minute, int second);

// The date speech for a calendar date: "Hetis1.WAV", the day, the month's
// file, the century and the year within it (7 December 2001 -> "07.WAV",
// "December.WAV", "20.WAV", "01.WAV"). The day-month-year text with its
// two-digit year is built from the date itself, whatever the system's date
// format; two-digit years below 80 lie in the 2000s, the others in the 1900s.
std::vector<std::string> dateSpeech(int day, int month, int year);

}  // namespace tarvok::settings
