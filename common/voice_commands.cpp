#include "common/voice_commands.h"

namespace tarvok {

namespace {

constexpr std::string_view welcome[] = {"welkom"};
constexpr std::string_view sayWhat[] = {"zegwat"};
constexpr std::string_view promptAgain[] = {"james", "computer"};
constexpr std::string_view time[] = {"tijd", "hoe laat is het"};
constexpr std::string_view date[] = {"datum", "welke dag is het"};
constexpr std::string_view repeat[] = {"herhalen", "herhaal", "herhaling"};
constexpr std::string_view name[] = {"naam", "hoe heet jij"};
constexpr std::string_view help[] = {"help", "helpen", "hulp"};
constexpr std::string_view stop[] = {"stoppen", "sluiten", "stop", "einde", "sluit"};
constexpr std::string_view general[] = {"algemeen"};
constexpr std::string_view ports[] = {"poorten"};
constexpr std::string_view maps[] = {"kaart", "kaarten"};
constexpr std::string_view sound[] = {"geluid"};
// "die verzen" is how a recogniser tends to hear "diversen".
constexpr std::string_view miscellaneous[] = {"diversen", "diverse", "die verzen"};
constexpr std::string_view change[] = {"veranderen", "verander"};
constexpr std::string_view yes[] = {"jaar", "ja"};
// "week" and "mee" are how a recogniser tends to hear "nee".
constexpr std::string_view no[] = {"neen", "nee", "week", "mee"};

constexpr VoiceCommandWords table[] = {
    {VoiceCommand::Welcome, welcome},
    {VoiceCommand::SayWhat, sayWhat},
    {VoiceCommand::PromptAgain, promptAgain},
    {VoiceCommand::Time, time},
    {VoiceCommand::Date, date},
    {VoiceCommand::Repeat, repeat},
    {VoiceCommand::Name, name},
    {VoiceCommand::Help, help},
    {VoiceCommand::Stop, stop},
    {VoiceCommand::GeneralPage, general},
    {VoiceCommand::PortsPage, ports},
    {VoiceCommand::MapsPage, maps},
    {VoiceCommand::SoundPage, sound},
    {VoiceCommand::MiscellaneousPage, miscellaneous},
    {VoiceCommand::Change, change},
    {VoiceCommand::Yes, yes},
    {VoiceCommand::No, no},
};

}  // namespace

std::span<const VoiceCommandWords> voiceCommandTable() { return table; }

std::vector<std::string_view> voiceCommandPhrases() {
    std::vector<std::string_view> phrases;
    for (const auto& row : table) phrases.insert(phrases.end(), row.phrases.begin(), row.phrases.end());
    return phrases;
}

}  // namespace tarvok
