// The settings program's answers to spoken commands, without a window: how
// a recognised text becomes a command, the change dialog that walks through
// the options of the current page with yes and no, the error reply and the
// command box's colours.
//
// The change dialog is a table of steps: at a page code, an answer ("verander",
// "ja" or "nee") plays its fixed prompts and moves to the next page code. A
// step that names a value speaks it and ends with "INok1.WAV"; on "nee" that
// value first moves on exactly as its button moves it. A code and answer the
// table does not list get the error reply.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/settings.h"
#include "common/voice_commands.h"
#include "settings/option_controls.h"

namespace tarvok::settings {

// The command box's text as a command: blanks around it removed, lower case.
std::string commandText(std::string_view boxText);

// The command of a text; the first row of the command table whose phrase
// equals it acts. Nothing for a text no row lists.
std::optional<VoiceCommand> voiceCommandOf(std::string_view text);

// The page (1 to 5) a command chooses; 0 for the other commands.
int pageOfCommand(VoiceCommand c);

enum class DialogAnswer { Change, Yes, No };  // "verander", "ja", "nee"
// The answer a command gives; nothing for the commands that are none.
std::optional<DialogAnswer> answerOf(VoiceCommand c);

struct DialogStep {
    int code;
    DialogAnswer answer;
    std::vector<const char*> say;  // played first
    const char* value;             // the button whose value is spoken (moved first on "nee"); null for none
    int next;                      // the page code afterwards
};

// The change dialog of every page code, in the order of the pages.
const std::vector<DialogStep>& changeDialog();
// The step at a page code for an answer; null when the dialog has none (the
// error reply is due).
const DialogStep* dialogStep(int code, DialogAnswer answer);

// The prompts that speak a button's stored value (option and port buttons).
std::vector<std::string> valuePrompts(std::string_view button, const SettingsString& s);

// What a step plays once its value has moved: its fixed prompts, then the
// value and "INok1.WAV".
std::vector<std::string> stepPrompts(const DialogStep& step, const SettingsString& s);

// The error reply: "INfout<n>.WAV" with n = random x 3 + 1 rounded to the
// nearest whole number, halves to even; `random` lies in [0, 1).
std::string errorReply(double random);

// The command box: while the program listens and while it answers.
struct CommandBoxColours {
    Rgb background, text;
};
inline constexpr CommandBoxColours kListeningColours{{32, 32, 32}, {255, 255, 0}};
inline constexpr CommandBoxColours kBusyColours{{200, 200, 200}, {0, 0, 128}};

}  // namespace tarvok::settings
