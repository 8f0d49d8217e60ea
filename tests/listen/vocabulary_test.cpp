// The recogniser's vocabulary is the settings program's command table, and
// every word of it can be said in the acoustic model's phones.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "common/voice_commands.h"
#include "listen/command_grammar.h"

namespace tarvok::listen {
namespace {

TEST(Vocabulary, IsTheCommandTableInItsOrder) {
    const std::vector<std::string_view> table = {"welkom",       "zegwat",
                                                 "james",        "computer",
                                                 "tijd",         "hoe laat is het",
                                                 "datum",        "welke dag is het",
                                                 "herhalen",     "herhaal",
                                                 "herhaling",    "naam",
                                                 "hoe heet jij", "help",
                                                 "helpen",       "hulp",
                                                 "stoppen",      "sluiten",
                                                 "stop",         "einde",
                                                 "sluit",        "algemeen",
                                                 "poorten",      "kaart",
                                                 "kaarten",      "geluid",
                                                 "diversen",     "diverse",
                                                 "die verzen",   "veranderen",
                                                 "verander",     "jaar",
                                                 "ja",           "neen",
                                                 "nee",          "week",
                                                 "mee"};
    EXPECT_EQ(voiceCommandPhrases(), table);
    EXPECT_EQ(voiceCommandTable().front().command, VoiceCommand::Welcome);
    EXPECT_EQ(voiceCommandTable().back().command, VoiceCommand::No);
}

TEST(Vocabulary, EveryWordIsPronouncedInTheModelsPhones) {
    std::set<std::string_view> phones, pronounced;
    for (const auto& f : fillerPronunciations()) phones.insert(f.phones);
    for (const auto& p : commandPronunciations()) {
        pronounced.insert(p.word);
        std::istringstream in{std::string(p.phones)};
        for (std::string phone; in >> phone;) EXPECT_TRUE(phones.count(phone)) << p.word << ": " << phone;
    }
    for (std::string_view phrase : voiceCommandPhrases()) {
        std::istringstream in{std::string(phrase)};
        for (std::string word; in >> word;) EXPECT_TRUE(pronounced.count(word)) << word;
    }
    EXPECT_EQ(phones.size(), 39u);  // the en-us model's phones, silence aside
}

// Whether `text` holds `item` as a whole alternative of a rule.
bool holdsAlternative(const std::string& text, std::string_view item) {
    for (std::size_t at = text.find(item); at != std::string::npos; at = text.find(item, at + 1)) {
        const std::string before = text.substr(at < 2 ? 0 : at - 2, at < 2 ? at : 2);
        const std::string after = text.substr(at + item.size(), 2);
        if ((before == "= " || before == "| ") && (after == " |" || after[0] == ';')) return true;
    }
    return false;
}

TEST(Vocabulary, GrammarsHoldEveryPhraseAndEveryPhone) {
    const std::string commands = commandGrammar(), phones = freePhoneGrammar();
    for (std::string_view phrase : voiceCommandPhrases()) EXPECT_TRUE(holdsAlternative(commands, phrase)) << phrase;
    EXPECT_FALSE(holdsAlternative(commands, "laat is"));
    for (const auto& f : fillerPronunciations()) {
        EXPECT_TRUE(holdsAlternative(phones, f.word)) << f.word;
        EXPECT_FALSE(holdsAlternative(commands, f.word)) << f.word;
    }
}

TEST(Vocabulary, OnlyAWholePhraseIsACommand) {
    const std::pair<const char*, const char*> rows[] = {
        {"hoe laat is het", "hoe laat is het"},
        {"die verzen", "die verzen"},
        {"nee", "nee"},
        {"", ""},
        {"ph_n ph_ey", ""},  // free phones: something else was said
        {"hoe laat", ""},    // part of a phrase
        {"ja nee", ""},      // two phrases
        {"Stop", ""},        // the decoder speaks lower case only
    };
    for (const auto& [hypothesis, phrase] : rows) EXPECT_EQ(phraseOfHypothesis(hypothesis), phrase) << hypothesis;
}

TEST(Vocabulary, PhrasesOfWordsSpeltOnlyByHandAreKnown) {
    const std::pair<const char*, bool> rows[] = {
        {"hoe laat is het", true},
        {"welke dag is het", true},
        {"hoe heet jij", true},
        {"die verzen", true},
        {"ja", false},
        {"welkom", false},
        {"diversen", false},
        {"", false},
    };
    for (const auto& [phrase, byHand] : rows) EXPECT_EQ(spelledByHandOnly(phrase), byHand) << phrase;
}

}  // namespace
}  // namespace tarvok::listen
