// What tarvok-listen listens for: the settings program's command phrases as a
// grammar for pocketsphinx, the pronunciation of every Dutch word in them
// written in the phone set of the en-us acoustic model, and the free-phone
// grammar that any speech fits, against which a phrase is judged.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tarvok::listen {

struct Pronunciation {
    std::string_view word;    // lower case, as it appears in the phrases
    std::string_view phones;  // en-us phones separated by single blanks
};

// Every word of the command phrases with each of its pronunciations (a word
// may appear on several rows), followed by nothing else.
std::span<const Pronunciation> commandPronunciations();

// Whether no word of `phrase` has a heard spelling, only the ones written by
// hand from how the words are said. Such phrases fit a speaker's sounds less
// closely than free phones do even when they are what was said.
bool spelledByHandOnly(std::string_view phrase);

// The words of the free-phone grammar: one word per phone of the model, each
// pronounced as that phone.
std::span<const Pronunciation> fillerPronunciations();

// The JSGF grammar of exactly one command phrase.
std::string commandGrammar();
// The JSGF grammar of any run of free phones: what any speech fits.
std::string freePhoneGrammar();

// The command phrase a recogniser's hypothesis stands for: the hypothesis
// itself when it is a phrase of the table, else empty.
std::string phraseOfHypothesis(std::string_view hypothesis);

}  // namespace tarvok::listen
