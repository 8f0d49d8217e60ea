// The settings window's rules that need no window: captions in both
// languages, pages and page codes, where the window and its content panel
// go, the clock texts, the screen-correction preview and the messages.
// Texts are Windows-1252.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "settings/option_controls.h"

namespace tarvok::settings {

// ----------------------------------------------------------------- captions

struct Caption {
    const char* control;
    const char* dutch;
    const char* english;
};
// Every caption that changes with the language (window title and the tabs
// apart).
const std::vector<Caption>& languageCaptions();
// Captions that are the same in both languages.
const std::vector<std::pair<const char*, const char*>>& fixedCaptions();
// Tool tips (Dutch in both languages).
const std::vector<std::pair<const char*, const char*>>& toolTips();

std::string windowTitle(Language language);       // "TARVOK - INSTELLINGEN" / "TARVOK - SETTINGS"
std::string tabText(int tab, Language language);  // tabs 1 to 5

// -------------------------------------------------------------------- pages

inline constexpr int kPages = 5;
inline int pageCode(int page) { return 100 * page; }
// "Frame1" ... "Frame5"
std::string pageFrame(int page);
// The page button Mtoets1..5 sends Alt and the page's letter to the window:
// A, P, K, G, D (the Dutch initials of the tabs). 0 for no page.
char pageLetter(int page);
// The page an Alt+letter chooses, 0 for none.
int pageOfLetter(char letter);
// The maps page shows Frame31 for the map products "1" and "2", Frame32
// for any other.
bool mapsPageShowsFrame31(std::string_view mapProduct);

// --------------------------------------------------------------- placement

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kContentWidth = 640, kContentHeight = 480;

struct Placement {
    int windowWidth, windowHeight;      // at the screen's top left
    int panelLeftTwips, panelTopTwips;  // the content panel Frame100
    int panelLeft, panelTop;            // the same in pixels
};
// The window as wide as the screen and 25 pixels less high; the content
// panel centred: left (width - 640) x 15 / 2 twips, top (height - 40 - 480)
// x 15 / 2 twips and 0 when that is negative.
Placement placement(int screenWidth, int screenHeight);

// Pages sit at top 2200 and left 2160 twips inside the content panel.
inline constexpr int kPageTopTwips = 2200, kPageLeftTwips = 2160;
int twipsToPixels(int twips);

// -------------------------------------------------------------------- clock

// Klokje: a blank and the time with a two-digit hour (" 09:05:07").
std::string clockBoxText(int hour, int minute, int second);
// Dagje: a blank and the date, day-month-year ("07-12-2001", the day
// with a "0" put in front when it has one digit).
std::string dateBoxText(int day, int month, int year);

// ---------------------------------------------------------- screen correction

inline constexpr int kScrollMax = 400;
inline int correctionOfHScroll(int value) { return value - 200; }
inline int correctionOfVScroll(int value) { return 200 - value; }
inline int hScrollOfCorrection(int c) { return c + 200; }
inline int vScrollOfCorrection(int c) { return 200 - c; }
// Xwaarde and Ywaarde: a blank and the correction (" -15").
std::string correctionBoxText(int correction);

// The preview Picture1 in pixels: a dot pattern in two shades with a red
// cross whose centre lies at HScroll1 x 3.06 and VScroll1 x 2.8 twips.
inline constexpr int kPreviewWidth = 84, kPreviewHeight = 77;
struct Dot {
    int x, y;
    Rgb colour;
};
std::vector<Dot> previewDots(int hScroll, int vScroll);
inline constexpr Rgb kPreviewDark{140, 120, 120}, kPreviewLight{200, 180, 180}, kPreviewCross{200, 0, 0};

// ----------------------------------------------------------------- messages

// The box when the settings file is on neither drive (Dutch, as the
// language is not known yet), lines to be joined by CR LF.
std::vector<std::string> filesNotFoundLines();
// The box when the settings file exists but cannot be read: the program
// goes on with its built-in values and leaves that file as it is.
std::vector<std::string> unreadableSettingsLines(const std::string& dosPath);
// The box when the settings could not be saved at the end, in the window's
// language: the file, the reason, and that the old file is unchanged.
std::vector<std::string> saveFailedLines(Language language, const std::string& dosPath, const std::string& nativePath,
                                         int errorNumber, const std::string& detail);

// ------------------------------------------------------------------ COM ports

// "COM1: /dev/ttyUSB0" and the like for the ports page.
std::string comLinkText(int port, const std::string& target);
std::string nothingFoundText(Language language);
std::string searchingText(Language language);
std::string attachedText(Language language, int port, const std::string& target);
std::string attachFailedText(Language language, const std::string& reason);

}  // namespace tarvok::settings
