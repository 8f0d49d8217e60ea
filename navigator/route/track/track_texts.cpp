#include "navigator/route/track/track_texts.h"

#include "common/text.h"

namespace tarvok {

const char* trackStatusText(TrackStatus status, bool dutch) {
    switch (status) {
    case TrackStatus::SelectFile: return dutch ? " KIES TRACK-BESTAND" : " SELECT TRACK-FILE";
    case TrackStatus::Showing: return dutch ? " ROUTE-VERTONING" : " SHOW DRIVEN ROUTE";
    case TrackStatus::Ready: return dutch ? " ROUTE-PLAY GEREED " : " ROUTE-PLAY READY ";
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

std::vector<std::string> trackFileNotFoundLines(bool dutch) {
    if (dutch)
        return {"WAARSCHUWING", "", "BESTAND NIET GEVONDEN!", "", "U moet een geldige bestandsnaam",
                "invullen of aanklikken.", "", "Probeer het opnieuw!"};
    return {"WARNING!", "", "NO FILE FOUND!", "", "You must enter or select a", "valid bitmap file.", "",
            "Please try again!"};
}

std::vector<std::string> trackFileUnreadableLines(bool dutch, const std::string& reason) {
    if (dutch)
        return {"WAARSCHUWING", "", "BESTAND NIET LEESBAAR!", "", reason, "", "Probeer het opnieuw!"};
    return {"WARNING!", "", "FILE NOT READABLE!", "", reason, "", "Please try again!"};
}

}  // namespace tarvok
