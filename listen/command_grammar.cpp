#include "listen/command_grammar.h"

#include "common/voice_commands.h"

#include <algorithm>

namespace tarvok::listen {

namespace {

// The phones of the en-us model, silence aside.
constexpr Pronunciation fillerWords[] = {
    {"ph_aa", "AA"}, {"ph_ae", "AE"}, {"ph_ah", "AH"}, {"ph_ao", "AO"}, {"ph_aw", "AW"}, {"ph_ay", "AY"}, {"ph_b", "B"},
    {"ph_ch", "CH"}, {"ph_d", "D"},   {"ph_dh", "DH"}, {"ph_eh", "EH"}, {"ph_er", "ER"}, {"ph_ey", "EY"}, {"ph_f", "F"},
    {"ph_g", "G"},   {"ph_hh", "HH"}, {"ph_ih", "IH"}, {"ph_iy", "IY"}, {"ph_jh", "JH"}, {"ph_k", "K"},   {"ph_l", "L"},
    {"ph_m", "M"},   {"ph_n", "N"},   {"ph_ng", "NG"}, {"ph_ow", "OW"}, {"ph_oy", "OY"}, {"ph_p", "P"},   {"ph_r", "R"},
    {"ph_s", "S"},   {"ph_sh", "SH"}, {"ph_t", "T"},   {"ph_th", "TH"}, {"ph_uh", "UH"}, {"ph_uw", "UW"}, {"ph_v", "V"},
    {"ph_w", "W"},   {"ph_y", "Y"},   {"ph_z", "Z"},   {"ph_zh", "ZH"},
};

}  // namespace

std::span<const Pronunciation> fillerPronunciations() { return fillerWords; }

std::string commandGrammar() {
    std::string grammar = "#JSGF V1.0;\ngrammar tarvok;\n<command> = ";
    bool first = true;
    for (std::string_view phrase : voiceCommandPhrases()) {
        if (!first) grammar += " | ";
        grammar += phrase;
        first = false;
    }
    grammar += ";\npublic <utterance> = <command>;\n";
    return grammar;
}

std::string freePhoneGrammar() {
    std::string grammar = "#JSGF V1.0;\ngrammar phones;\n<phone> = ";
    bool first = true;
    for (const auto& filler : fillerWords) {
        if (!first) grammar += " | ";
        grammar += filler.word;
        first = false;
    }
    grammar += ";\npublic <phones> = <phone>+;\n";
    return grammar;
}
std::string phraseOfHypothesis(std::string_view hypothesis) {
    const auto phrases = voiceCommandPhrases();
    if (std::find(phrases.begin(), phrases.end(), hypothesis) == phrases.end()) return {};
    return std::string(hypothesis);
}

}  // namespace tarvok::listen
