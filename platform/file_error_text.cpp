#include "platform/file_error_text.h"

#include <system_error>

#include "platform/regular_file.h"

namespace tarvok {

std::string fileErrorText(std::string_view shownPath, int error, Language language) {
    const bool notAFile = error == kNotAFile;
    const std::string_view suffix =
        notAFile ? (language == Language::Dutch ? " is geen bestand" : " is not a file") : ": ";
    std::string text;
    text.reserve(shownPath.size() + suffix.size() + 40);
    text.append(shownPath).append(suffix);
    if (!notAFile) text.append(std::generic_category().message(error));
    return text;
}

std::string fileErrorReason(int error, Language language) {
    if (error == kNotAFile) return language == Language::Dutch ? "het is geen bestand" : "it is not a file";
    return std::generic_category().message(error);
}

}  // namespace tarvok
