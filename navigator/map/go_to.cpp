#include "navigator/map/go_to.h"

#include "common/text.h"

namespace tarvok::map {

std::optional<PixelPosition> typedPixel(std::string_view xText, std::string_view yText) {
    if (!isNumeric(xText) || !isNumeric(yText)) return std::nullopt;
    return PixelPosition{roundToInt32Clamped(numericValue(xText)), roundToInt32Clamped(numericValue(yText))};
}

const char* goToPixelText(Language language) {
    return language == Language::Dutch ? "TOON PLAATS MET X/Y COORD." : "SHOW PLACE WITH X/Y COORD.";
}

std::vector<std::string> noMapLoadedLines(Language language) {
    if (language == Language::Dutch)
        return {"WAARSCHUWING",
                "",
                "U moet eerst een kaart laden! ",
                "(Het radarscherm verdwijnt dan)",
                "",
                "Gebruik de LAAD funktie of",
                "druk op de ZOEK knop.",
                ""};
    return {"WARNING!",
            "",
            "You must first load a map!",
            "(the radar will then disappear)",
            "",
            "(Please use the LOAD function",
            "or press the FIND button.",
            ""};
}

std::vector<std::string> missingPixelLines(Language language) {
    if (language == Language::Dutch)
        return {"WAARSCHUWING",
                "",
                "U heeft geen X en/of Y waarde ingevuld!",
                "",
                "X moet liggen tussen 0 en aantal X-pixels",
                "van de bitmap.",
                "Y moet liggen tussen 0 en aantal Y-pixels",
                "van de bitmap.",
                ""};
    return {"WARNING!",
            "",
            "You have not entered any X or Y values!",
            "",
            "X should be between 0 and number of X-pixels",
            "of the bitmap.",
            "Y should be between 0 and number of Y-pixels",
            "of the bitmap.",
            ""};
}

std::vector<std::string> missingLatLonLines(Language language) {
    if (language == Language::Dutch)
        return {"WAARSCHUWING",
                "",
                "U heeft geen Lengte- ",
                "en/of breedtegraad ingevuld!",
                "(Gebruik decimale graden.)",
                ""};
    return {
        "WARNING!", "", "You have not entered any Latitude", "or Longitude values! ", "(Please use decimal notation)",
        ""};
}

}  // namespace tarvok::map
