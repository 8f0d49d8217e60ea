// The option controls of the settings window as data: every cycling, toggle
// and three-way button with its field, its next-value rule, the texts of its
// display box in both languages and the explanation it speaks; the check
// boxes, the sliders and the colour scheme's colours.
//
// Values live in the settings string: a button reads its field, computes the
// next value, writes it back at once, so the string in memory always
// reflects what the window shows.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "common/settings.h"
#include "settings/prompts.h"

namespace tarvok::settings {

// One text of a display box. A null `value` stands for any value not
// listed before it.
struct ValueText {
    const char* value;
    const char* dutch;
    const char* english;
};

struct OptionButton {
    enum class Rule {
        Cycle,       // numeric value plus one; above `highest` (or below 1) back to "1"
        Chain,       // each `chain` value becomes the one beside it; anything else `otherwise`
        HourOffset,  // numeric value plus one; below 0 or above 23 back to 0
    };
    const char* button;   // the button's name
    const char* display;  // its display box
    field::Field field;
    Rule rule;
    int highest;                                             // Cycle
    std::vector<std::pair<const char*, const char*>> chain;  // Chain
    const char* otherwise;                                   // Chain
    std::vector<ValueText> texts;                            // display box texts (not for HourOffset)
    Explanation prompt;                                      // spoken after a change
};

// Every option button, in the order of the pages.
const std::vector<OptionButton>& optionButtons();
// The button of that name; null when there is none.
const OptionButton* optionButton(std::string_view name);

// The value a click makes of `current`.
std::string nextValue(const OptionButton& b, std::string_view current);

// What the display box shows for a value; nothing for a value none of the
// texts lists (the box then keeps what it shows).
std::optional<std::string> displayText(const OptionButton& b, std::string_view value, Language language);

// The button's field value in the string (the hour offset as its number's text).
std::string currentValue(const OptionButton& b, const SettingsString& s);

struct OptionChange {
    std::string value;                   // the new value
    std::optional<std::string> display;  // the display box's new text, if it changes
    std::vector<std::string> prompts;    // the files the change explains itself with
};

// A click: the next value written into its field, the display text in the
// language the string holds afterwards, and the prompt files for the new
// value (spoken when the user asked for explanations).
OptionChange pressOptionButton(const OptionButton& b, SettingsString& s);

// The speech check boxes of the sound page.
struct CheckBox {
    const char* name;
    field::Field field;
    const char* dutch;
    const char* english;
};
const std::vector<CheckBox>& checkBoxes();

// A check box is ticked when its field holds "1".
bool isTicked(const SettingsString& s, field::Field f);

struct Slider {
    const char* name;
    const char* label;
    field::Field field;
    int minimum, maximum;
};
// Slider1 and Slider2 keep one-character fields, so their range ends at 9:
// every position they offer is stored as it is.
const std::vector<Slider>& sliders();
const Slider* slider(std::string_view name);
// The slider's value in its field: one digit, or two with a leading "0".
void writeSlider(const Slider& sl, SettingsString& s, int value);

struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
struct SchemeColours {
    Rgb boxes;         // the value boxes
    Rgb clock;         // GMText, Klokje, Dagje
    Rgb closeWindows;  // AWText
};
// The text colours of a colour scheme value ("0" colour, "1" black and
// white); nothing for any other value.
std::optional<SchemeColours> schemeColours(std::string_view value);
// The boxes the colour scheme recolours.
const std::vector<const char*>& schemeBoxes();

}  // namespace tarvok::settings
