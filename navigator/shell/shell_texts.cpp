#include "shell_texts.h"

#include "common/text.h"
#include "platform/dos_path.h"

namespace tarvok {

const std::vector<ControlTexts>& mainWindowTexts() {
    static const std::vector<ControlTexts> table = {
        {"Command2", "LAA&D", "LOA&D", "Laad Bitmap (en bepaal daarmee default directory)",
         "Load Bitmap (and thus determine the defauld map directory)"},
        {"Command13", "&ZOEK", "&FIND", "Zoek Automatisch de juiste kaart!", "Automatically load the right map!"},
        {"Command12", "&AUTO", "&AUTO", "Automatisch kaart-database laden", "Automatic loading of map-database"},
        {"Command3", "&XY", "&XY", "Ga naar ingevulde X/Y coordinaten", "Go to X/Y coordinates"},
        {"Command4", "&LaLo", "&LaLo", "Ga naar ingevulde Latitude/Longitude coordinaten",
         "Go to Latitude/Longitude coordinates"},
        {"Command1", "&RTE", "&RTE", "Gereden Route tonen", "Play/show Route"},
        {"Navig1", "&NAV", "&NAV", "Start GPS navigatie", "Start GPS navigation"},
        {"SetupCommand", "SET&UP", "SET&UP", "Specifieke instellingen", "Specific Settings"},
        {"cmdQuit", "S&TOP", "S&TOP", "Beeindig mode / het programma", "Stop current mode / the program"},
        {"Command6", "?", "?", "Help (start gebruiksaanwijzing)", "Help (start userguide)"},
        {"Zoom0", "o", "o", "Zoom-maximaal uit tot totale kaart", "Maximum Zoom-out to entire map"},
        {"ZoomI", "+", "+", "1 niveau Inzoomen", "Zoom-In 1 level"},
        {"ZoomU", "-", "-", "1 niveau Uitzoomen", "Zoom-Out 1 level"},
        {"Speed", nullptr, nullptr, "Snelheid (in kmh, mph of kts)", "Speed (in kmh, mph or kts)"},
        {"Smode", nullptr, nullptr, "Snelheidseenheid", "Speed unit"},
        {"Koers", nullptr, nullptr, "Koers (in graden)", "Bearing (in degrees)"},
        {"Windr", nullptr, nullptr, "Koers (als kompasrichting)", "Bearing (as compass direction)"},
        {"NSText", nullptr, nullptr, "Noorder- of Zuiderbreedte", "Northern or Southern latitude"},
        {"EWText", nullptr, nullptr, "Ooster- of Westerlengte", "Eastern or Western longitude"},
        {"Latid", nullptr, nullptr, "Breedtegraad (in decimale graden Noorder-/Zuiderbreedte)",
         "Latitude (in decimal degrees North/South)"},
        {"Longi", nullptr, nullptr, "Lengtegraad (in decimale graden)", "Longitude (in decimal degrees East/West)"},
        {"Xtext", nullptr, nullptr, "X-Coordinaat (0 t/m X-pixels)", "X-Coordinate (0 to X-pixels)"},
        {"Ytext", nullptr, nullptr, "Y-Coordinaat (0 t/m Y-pixels)", "Y-Coordinate (0 to Y-pixels)"},
        {"Ztext", nullptr, nullptr, "Ingestelde Zoom-niveau", "Chosen Zoom-level"},
        {"Tijds", nullptr, nullptr, "Tijd", "(GPS)Time"},
        {"Datum", nullptr, nullptr, "Datum", "(GPS)Date"},
    };
    return table;
}

const char* shellStatusText(ShellStatus status, Language language) {
    switch (status) {
    case ShellStatus::Welcome: return inLanguage(language, "  HARTELIJK WELKOM !", "  WELCOME TO YOU !!!");
    case ShellStatus::PleaseLoadMap: return inLanguage(language, "  LAAD S.V.P. KAART", "  PLEASE LOAD A MAP");
    case ShellStatus::NavigationStopped: return inLanguage(language, " NAVIGATIE GESTOPT ", " NAVIGATION STOPPED");
    case ShellStatus::PlaybackStopped: return inLanguage(language, " ROUTE-PLAY GESTOPT ", " ROUTE-PLAY STOPPED ");
    case ShellStatus::Goodbye: return inLanguage(language, " DANK U EN TOT ZIENS", " THANK YOU, GOODBYE!");
    case ShellStatus::SoundOn: return inLanguage(language, "  GELUID = AAN ", "  SOUND = ON ");
    case ShellStatus::SoundOff: return inLanguage(language, "  GELUID = UIT ", "  SOUND = OFF ");
    case ShellStatus::ZoomInKey: return inLanguage(language, "  1 NIVEAU INZOOMEN ", "  ZOOM-IN 1 LEVEL ");
    case ShellStatus::ZoomOutKey: return inLanguage(language, "  1 NIVEAU UITZOOMEN ", "  ZOOM-OUT 1 LEVEL ");
    case ShellStatus::TrailShown: return inLanguage(language, "  SPOOR = AAN ", "  TRAIL = ON ");
    case ShellStatus::TrailHidden: return inLanguage(language, "  SPOOR = UIT ", "  TRAIL = OFF ");
    }
    return "";
}

std::string mainWindowTitle(std::string_view mapPath) {
    const std::string_view name = dosFileNameOf(mapPath);
    return name.empty() ? std::string("Tarvok") : "Tarvok - " + upperAscii(name);
}

std::string screenCorrectionText(long x, long y) { return "Xcor.= " + integerText(x) + " ; Ycor.= " + integerText(y); }

std::string intervalText(int seconds) { return " Interval:" + integerText(seconds) + " sec."; }

std::vector<std::string> userGuideNotShownLines(Language language, bool missing, const std::string& nativePath) {
    if (language == Language::Dutch)
        return {"WAARSCHUWING",
                "",
                missing ? "De gebruiksaanwijzing is niet gevonden:" : "De gebruiksaanwijzing kan niet worden geopend,",
                missing ? nativePath : "er is geen programma voor HTML-bestanden.",
                "",
                missing ? "Installeer de software opnieuw." : "U vindt haar hier:",
                missing ? "" : nativePath,
                ""};
    return {"WARNING!",
            "",
            missing ? "The user guide was not found:" : "The user guide cannot be opened:",
            missing ? nativePath : "there is no program for HTML files.",
            "",
            missing ? "Please re-install the software." : "You will find it here:",
            missing ? "" : nativePath,
            ""};
}

}  // namespace tarvok
