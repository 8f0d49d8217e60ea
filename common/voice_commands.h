// The spoken commands of the settings program: every word and phrase it acts
// on, grouped by what they do, in the order they are compared (the first
// match acts). The settings program looks a recognised text up here; the
// recogniser tarvok-listen listens for exactly these phrases.
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace tarvok {

enum class VoiceCommand {
    Welcome,      // "welkom": the welcome prompt
    SayWhat,      // "zegwat": the say-something prompt
    PromptAgain,  // "james", "computer": the current prompt again
    Time,         // speak the time
    Date,         // speak the date
    Repeat,       // the repeat prompt
    Name,         // the name prompt
    Help,         // the help prompt
    Stop,         // close the settings program (saving)
    GeneralPage,
    PortsPage,
    MapsPage,
    SoundPage,
    MiscellaneousPage,
    Change,  // start the change dialog of the current page
    Yes,
    No,
};

struct VoiceCommandWords {
    VoiceCommand command;
    std::span<const std::string_view> phrases;  // lower case, single blanks
};

// The command table in its order.
std::span<const VoiceCommandWords> voiceCommandTable();

// Every phrase of the table, in the table's order.
std::vector<std::string_view> voiceCommandPhrases();

}  // namespace tarvok
