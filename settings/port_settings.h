// The serial-port buttons of the ports page: baud rate, parity, data bits,
// port number and the default values. For baud rate, parity and data bits
// the display box's text is the working value: a click steps the text,
// stores it and names the prompts that explain the new value.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/settings.h"
#include "settings/prompts.h"

namespace tarvok::settings {

struct PortChange {
    std::string text;                  // the display box's new text
    std::vector<std::string> prompts;  // spoken when the user asked for explanations
};

// Rate1: the text without trailing blanks steps through 300 ... 33600 and
// back to 300; empty becomes "300"; a text not in the list stays. The text
// padded to five characters goes into field 60.
PortChange pressRate(std::string_view boxText, SettingsString& s);
// Par1: empty -> "0" -> "1" -> "0"; anything else stays. Its first
// character goes into field 66.
PortChange pressParity(std::string_view boxText, SettingsString& s);
// Bit1: empty -> "4", "4" ... "8" -> "4"; anything else stays. Its first
// character goes into field 69.
PortChange pressDataBits(std::string_view boxText, SettingsString& s);
// Command5: the port number in field 40 plus one, above 4 back to 1; the
// display shows "COM-" and the number.
PortChange pressPort(SettingsString& s);

// The four buttons of the page with their display boxes, in the page's
// order; `prompt` speaks the stored value.
struct PortButton {
    enum class Kind { BaudRate, Parity, DataBits, ComPort };
    const char* button;
    const char* display;
    Kind kind;
    Explanation prompt;
};
const std::vector<PortButton>& portButtons();
// The button of that name; null when there is none.
const PortButton* portButton(std::string_view name);
// A click of the button, with its display box's text.
PortChange pressPortButton(const PortButton& b, std::string_view boxText, SettingsString& s);

// Command3: 4800 baud, parity flag 1, 8 data bits, COM1 into fields 60, 66,
// 69 and 40.
struct PortDefaults {
    std::string baud = "4800", parity = "1", dataBits = "8", port = "COM-1";
};
PortDefaults resetPortDefaults(SettingsString& s);

}  // namespace tarvok::settings
