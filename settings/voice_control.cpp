#include "settings/voice_control.h"

#include <algorithm>

#include "common/text.h"
#include "settings/port_settings.h"
#include "settings/prompts.h"

namespace tarvok::settings {

std::string commandText(std::string_view boxText) { return lowerCase(trimBlanks(boxText)); }

std::optional<VoiceCommand> voiceCommandOf(std::string_view text) {
    for (const VoiceCommandWords& row : voiceCommandTable())
        for (std::string_view phrase : row.phrases)
            if (text == phrase) return row.command;
    return std::nullopt;
}

int pageOfCommand(VoiceCommand c) {
    switch (c) {
    case VoiceCommand::GeneralPage: return 1;
    case VoiceCommand::PortsPage: return 2;
    case VoiceCommand::MapsPage: return 3;
    case VoiceCommand::SoundPage: return 4;
    case VoiceCommand::MiscellaneousPage: return 5;
    default: return 0;
    }
}

std::optional<DialogAnswer> answerOf(VoiceCommand c) {
    switch (c) {
    case VoiceCommand::Change: return DialogAnswer::Change;
    case VoiceCommand::Yes: return DialogAnswer::Yes;
    case VoiceCommand::No: return DialogAnswer::No;
    default: return std::nullopt;
    }
}

const std::vector<DialogStep>& changeDialog() {
    constexpr auto verander = DialogAnswer::Change, ja = DialogAnswer::Yes, nee = DialogAnswer::No;
    static const std::vector<DialogStep> table = {
        // code  answer    says first                          value         next
        // No page chosen yet: the map product.
        {0, verander, {"INveran0.WAV"}, "KCommand1", 0},
        {0, ja, {"INeinde6.WAV"}, nullptr, 1},
        {0, nee, {}, "KCommand1", 0},
        // General: speed unit, close Windows.
        {100, verander, {"INveran1.WAV"}, "Scomm1", 100},
        {100, ja, {}, "Command2", 101},
        {100, nee, {}, "Scomm1", 100},
        {101, ja, {"INeinde1.WAV"}, nullptr, 102},
        {101, nee, {}, "Command2", 101},
        // Ports: baud rate, parity, data bits, port.
        {200, verander, {"INveran2.WAV"}, "Rate1", 200},
        {200, ja, {}, "Par1", 201},
        {200, nee, {}, "Rate1", 200},
        {201, ja, {}, "Bit1", 202},
        {201, nee, {}, "Par1", 201},
        {202, ja, {}, "Command5", 203},
        {202, nee, {}, "Bit1", 202},
        {203, ja, {"INeinde2.WAV"}, nullptr, 204},
        {203, nee, {}, "Command5", 203},
        // Maps: route source, screen side (or cross size), route recording.
        {300, verander, {"INveran3.WAV"}, "Garm1", 300},
        {300, ja, {}, "Command7", 301},
        {300, nee, {}, "Garm1", 300},
        {301, ja, {}, "Routesave", 302},
        {301, nee, {}, "Command7", 301},
        {302, ja, {"INeinde3.WAV"}, nullptr, 303},
        {302, nee, {}, "Routesave", 302},
        // Sound: the sound switch.
        {400, verander, {"INveran4.WAV", "INletop1.WAV"}, "Soundcom", 400},
        {400, ja, {"INeinde4.WAV"}, nullptr, 401},
        {400, nee, {}, "Soundcom", 400},
        // Miscellaneous: keyboard size, menu style, colour scheme.
        {500, verander, {"INveran5.WAV"}, "command8", 500},
        {500, ja, {}, "Menu1", 501},
        {500, nee, {}, "command8", 500},
        {501, ja, {}, "Command9", 502},
        {501, nee, {}, "Menu1", 501},
        {502, ja, {"INeinde5.WAV"}, nullptr, 503},
        {502, nee, {}, "Command9", 502},
    };
    return table;
}

const DialogStep* dialogStep(int code, DialogAnswer answer) {
    for (const DialogStep& step : changeDialog())
        if (step.code == code && step.answer == answer) return &step;
    return nullptr;
}

std::vector<std::string> valuePrompts(std::string_view button, const SettingsString& s) {
    if (const OptionButton* b = optionButton(button)) return explanationPrompts(b->prompt, s);
    if (const PortButton* b = portButton(button)) return explanationPrompts(b->prompt, s);
    return {};
}

std::vector<std::string> stepPrompts(const DialogStep& step, const SettingsString& s) {
    std::vector<std::string> prompts(step.say.begin(), step.say.end());
    if (step.value) {
        for (std::string& p : valuePrompts(step.value, s)) prompts.push_back(std::move(p));
        prompts.emplace_back("INok1.WAV");
    }
    return prompts;
}

std::string errorReply(double random) {
    const int n = std::clamp<int>(roundToInt32(random * 3 + 1).value_or(1), 1, 4);
    return "INfout" + integerText(n) + ".WAV";
}

}  // namespace tarvok::settings
