#include "navigator/route/track/track_texts.h"

#include "common/text.h"

namespace tarvok {

const char* trackStatusText(TrackStatus status, Language language) {
    switch (status) {
    case TrackStatus::SelectFile: return inLanguage(language, " KIES TRACK-BESTAND", " SELECT TRACK-FILE");
    case TrackStatus::Showing: return inLanguage(language, " ROUTE-VERTONING", " SHOW DRIVEN ROUTE");
    case TrackStatus::Ready: return inLanguage(language, " ROUTE-PLAY GEREED ", " ROUTE-PLAY READY ");
    }
    return "";
}

const char* trackFileFilter() {
    return "Track files (*.trk)|*.trk|Text files (*.txt)|*.txt|GPX files (*.gpx)|*.gpx|"
           "All Files (*.*)|*.*";
}

std::string thinningStatusText(int thinning) {
    if (thinning == 0) return " TOON ELK ROUTEPUNT";
    return " TOON OM DE " + integerText(thinning) + " PTN.";
}

std::vector<std::string> trackFileNotFoundLines(Language language) {
    if (language == Language::Dutch)
        return {"WAARSCHUWING",
                "",
                "BESTAND NIET GEVONDEN!",
                "",
                "U moet een geldige bestandsnaam",
                "invullen of aanklikken.",
                "",
                "Probeer het opnieuw!"};
    return {"WARNING!",           "", "NO FILE FOUND!",   "", "You must enter or select a",
            "valid bitmap file.", "", "Please try again!"};
}

std::vector<std::string> trackFileUnreadableLines(Language language, const std::string& reason) {
    if (language == Language::Dutch)
        return {"WAARSCHUWING", "", "BESTAND NIET LEESBAAR!", "", reason, "", "Probeer het opnieuw!"};
    return {"WARNING!", "", "FILE NOT READABLE!", "", reason, "", "Please try again!"};
}

}  // namespace tarvok
