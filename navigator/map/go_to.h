// The go-to functions' rules: the typed pixel, the status texts and the
// three warnings.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include "common/language.h"

#include "navigator/map/map_view_state.h"

namespace tarvok::map {

// The pixel typed into Xtext and Ytext: both numeric, each rounded to a
// 32-bit integer (halves to even; values beyond 32 bits stop at its
// limits). Nothing when either is not numeric.
std::optional<PixelPosition> typedPixel(std::string_view xText, std::string_view yText);

// Label6 of the X/Y jump ('0' Dutch, else English) and of the
// latitude/longitude jump (one text for both languages).
const char* goToPixelText(Language language);
inline constexpr const char* kGoToLatLonText = "LATIDUDE/LONGITUDE";

// The warnings (critical stop, titled "TARVOK").
std::vector<std::string> noMapLoadedLines(Language language);
std::vector<std::string> missingPixelLines(Language language);
std::vector<std::string> missingLatLonLines(Language language);

}  // namespace tarvok::map
