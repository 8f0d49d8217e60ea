// The language of every text and every spoken fragment, chosen by the
// settings string's language field: "0" Dutch, any other value English.
#pragma once

namespace tarvok {

enum class Language { Dutch, English };

// The language a stored language field selects ('0' Dutch, anything else
// English, so an unexpected byte never leaves a window without texts).
constexpr Language languageOf(char field) { return field == '0' ? Language::Dutch : Language::English; }

// The one text of a pair that belongs to the language.
template <class T>
constexpr const T& inLanguage(Language l, const T& dutch, const T& english) {
    return l == Language::Dutch ? dutch : english;
}
// The same for two texts of different lengths (string literals).
constexpr const char* inLanguage(Language l, const char* dutch, const char* english) {
    return l == Language::Dutch ? dutch : english;
}

}  // namespace tarvok
