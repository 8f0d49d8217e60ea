// Why a file could not be opened, read or written, in the user's words.
#pragma once

#include <string>
#include <string_view>

#include "common/language.h"

namespace tarvok {

// The reason with the path as the user knows it, for an errno value or
// kNotAFile (platform/regular_file.h): "C:\TARVOK\ROUTE1.TVK is not a file"
// ("... is geen bestand" in Dutch), else "C:\TARVOK\ROUTE1.TVK: No space
// left on device" (the system's own text).
std::string fileErrorText(std::string_view shownPath, int error, Language language = Language::English);

// The reason alone, for a message that names the file itself: "it is not a
// file" ("het is geen bestand"), else the system's text.
std::string fileErrorReason(int error, Language language = Language::English);

}  // namespace tarvok
