#include "settings/form_logic.h"

#include <cerrno>
#include <cmath>
#include <system_error>

#include "common/clock_texts.h"
#include "common/text.h"
#include "common/window_titles.h"
#include "settings/prompts.h"

namespace tarvok::settings {

const std::vector<Caption>& languageCaptions() {
    static const std::vector<Caption> table = {
        {"Mtoets1", "ALGEMEEN", "GENERAL"},
        {"Mtoets2", "POORTEN", "PORTS"},
        {"Mtoets3", "KAARTEN", "MAPS"},
        {"Mtoets4", "GELUID", "SOUND"},
        {"Mtoets5", "DIVERSE", "MISCELL."},
        {"Label1", "Kaart keuze:", "Map Choice:"},
        {"Label2", "Snelheid in:", "Speed in:"},
        {"Label3", "Kaartinstellingen, Algemeen:", "Map settings, General:"},
        {"Label4", "Waarde:    Eenheid:", "Value:     Unit:"},
        {"Label5", "Auto-sluit Windows:", "Auto-close Windows:"},
        {"Label6", "XY Correctie:", "XY Correction:"},
        {"Label7", "Data communicatie:", "Data communication:"},
        {"Label8", "TIJD/DATUM:", "TIME/DATE:"},
        {"Label9", "GELUID:", "SOUND:"},
        {"Label10", "Diverse:", "Miscellaneous:"},
        {"Label11", "Kaartinstellingen, Specifiek:", "Map settings, Specific:"},
        {"Label16", "Kaartinstellingen, Specifiek:", "Map settings, Specific:"},
        {"Label12", "Routeafspeelsnelheid:", "Route play speed:"},
        {"Label13", "Interval (minuten):", "Interfall (minutes):"},
        {"Label14", "Aantal plaatsnamen:", "Number of places:"},
        {"Label15", "Afspeelsnelheid:", "Playback speed: "},
        {"Label17", "Kruisgrootte:", "Cross-Hatch:"},
        {"Label18", "Taalkeuze:", "Language:"},
        {"Label19", "Tijd:          Datum:", "Time:          Date:"},
        {"Check1", "Spreek", "Speak"},
        {"Command3", "&DEFAULT WAARDEN", "&DEFAULT VALUES"},
        {"Command4", "&TAAL", "&LANG"},
        {"Command7", "PLEK", "PLACE"},
        {"Command9", "KLEUR", "COLOUR"},
        {"Command10", "AUTO ZOEK", "AUTO FIND"},
        {"Scomm1", "&EENH", "&UNIT"},
        {"Soundcom", "GEL&UID", "SO&UND"},
        // The COM port's link on this machine.
        {"Label20", "Poort leidt naar:", "Port leads to:"},
        {"Search1", "ZOEK", "SEARCH"},
        {"Attach1", "KOPPEL", "ATTACH"},
    };
    return table;
}

const std::vector<std::pair<const char*, const char*>>& fixedCaptions() {
    static const std::vector<std::pair<const char*, const char*>> table = {
        {"Command2", "AUT&O"},  {"Command6", "&STOP"}, {"KCommand1", "CD-&ROM:"}, {"Garm1", "G/TVK"},
        {"Routesave", "ROUTE"}, {"Rate1", "&BAUD"},    {"Par1", "PA&RITY"},       {"Bit1", "B&ITS"},
        {"Command5", "&COM."},  {"Menu1", "&MENU"},    {"command8", "KE&YB."},    {"COMM_GMT", "GMT+"},
    };
    return table;
}

const std::vector<std::pair<const char*, const char*>>& toolTips() {
    static const std::vector<std::pair<const char*, const char*>> table = {
        {"Command6", "Terug naar Menu"},
        {"Scomm1", "Weergave van rijsnelheid in kmh, mph of kts"},
        {"Routesave",
         "Al dan niet opslaan van gereden routes (tijdstip, positie, snelheid, hoogte etc.) in "
         "ROUTE1.TVK"},
        {"Command7", "Plaats op het scherm waar Tarvok de navigatie-info toont (advies: BOVEN)"},
        {"Garm1", "Weergave van routes op basis van Garmin-files of de door Tarvok opgeslagen route-info."},
        {"Command10", "T.b.v. Tarvok voor Bitmaps"},
        {"Menu1", "Vormgeving van de menu-schermen: Klein, Groot of Fraai"},
        {"command8", "Met muis in te toetsen keyboard: groot of klein formaat"},
        {"Command9", "Kleuren op dit scherm (wit of groen); Wit toont beter op monochroom scherm"},
        {"Slider1", "Snelheid voor afspelen van gereden routes"},
        {"Rate1", "Interface met GPS ontvanger: Baudsnelheid (default=4800)"},
        {"Par1", "Interface met GPS-ontvanger: Wel of geen Pariteit (default=1)"},
        {"Bit1", "Interface met GPS-ontvanger: aantal significante bits (default=8)"},
        {"Command5", "Interface met GPS-ontvanger: Seriele poort (Com-1 t/m Com-4)"},
        {"Label7", "Interface met GPS-ontvanger"},
    };
    return table;
}

std::string windowTitle(Language language) { return settingsWindowTitle(language); }

std::string tabText(int tab, Language language) {
    static const char* const dutch[kPages] = {"Algemeen", "Poorten", "Kaart", "Geluid", "Diverse"};
    static const char* const english[kPages] = {"General", "Ports", "Map's", "Sound", "Miscell."};
    if (tab < 1 || tab > kPages) return {};
    return inLanguage(language, dutch, english)[tab - 1];
}

std::string pageFrame(int page) { return "Frame" + integerText(page); }

char pageLetter(int page) {
    static const char letters[kPages] = {'A', 'P', 'K', 'G', 'D'};
    return page >= 1 && page <= kPages ? letters[page - 1] : 0;
}

int pageOfLetter(char letter) {
    for (int page = 1; page <= kPages; ++page)
        if (upperAscii(std::string(1, letter))[0] == pageLetter(page)) return page;
    return 0;
}

bool mapsPageShowsFrame31(std::string_view mapProduct) { return mapProduct == "1" || mapProduct == "2"; }

int twipsToPixels(int twips) { return roundToInt32Clamped(twips / double(kTwipsPerPixel)); }

Placement placement(int screenWidth, int screenHeight) {
    Placement p;
    p.windowWidth = screenWidth;
    p.windowHeight = screenHeight - 25;
    p.panelLeftTwips = (screenWidth - kContentWidth) * kTwipsPerPixel / 2;
    p.panelTopTwips = std::max(0, (screenHeight - 40 - kContentHeight) * kTwipsPerPixel / 2);
    p.panelLeft = twipsToPixels(p.panelLeftTwips);
    p.panelTop = twipsToPixels(p.panelTopTwips);
    return p;
}

std::string clockBoxText(int hour, int minute, int second) { return " " + clockText(hour, minute, second); }

std::string dateBoxText(int day, int month, int year) { return " " + dayMonthYearText(day, month, integerText(year)); }

std::string correctionBoxText(int correction) { return std::string(1, ' ').append(integerText(correction)); }

std::vector<Dot> previewDots(int hScroll, int vScroll) {
    std::vector<Dot> dots;
    for (int y = 1; y < kPreviewHeight; y += 4)
        for (int x = 1; x < kPreviewWidth; x += 4)
            dots.push_back({x, y, ((x / 4 + y / 4) % 2) ? kPreviewLight : kPreviewDark});
    const int cx = roundToInt32Clamped(hScroll * 3.06 / kTwipsPerPixel);
    const int cy = roundToInt32Clamped(vScroll * 2.8 / kTwipsPerPixel);
    for (int k = -6; k <= 6; ++k) {
        dots.push_back({cx + k, cy, kPreviewCross});
        if (k != 0) dots.push_back({cx, cy + k, kPreviewCross});
    }
    return dots;
}

std::vector<std::string> filesNotFoundLines() {
    return {"TARVOK",
            "",
            "Benodigde bestanden niet gevonden!",
            "",
            "Waarschijnlijk is de software niet      ",
            "goed geinstalleerd.",
            "Installeer de software opnieuw."};
}

std::vector<std::string> unreadableSettingsLines(const std::string& dosPath) {
    return {"TARVOK",
            "",
            "Instellingen niet leesbaar:",
            dosPath,
            "",
            "Het programma toont de standaard instellingen",
            "en laat dit bestand ongewijzigd.",
            "",
            "Settings file cannot be read; it is left unchanged."};
}

std::vector<std::string> saveFailedLines(Language language, const std::string& dosPath, const std::string& nativePath,
                                         int errorNumber, const std::string& detail) {
    std::string reason;
    switch (errorNumber) {
    case EACCES:
    case EPERM:
    case EROFS: reason = inLanguage<std::string>(language, "geen schrijfrechten", "no permission to write"); break;
    case ENOSPC:
    case EDQUOT: reason = inLanguage<std::string>(language, "schijf vol", "disk full"); break;
    case EISDIR: reason = inLanguage<std::string>(language, "er staat een map", "a folder is in the way"); break;
    default: reason = detail.empty() ? std::generic_category().message(errorNumber) : detail;
    }
    return {"TARVOK",
            "",
            inLanguage<std::string>(language, "Instellingen NIET opgeslagen!", "Settings NOT saved!"),
            "",
            dosPath,
            "(" + nativePath + ")",
            inLanguage<std::string>(language, "Reden: ", "Reason: ") + reason,
            "",
            inLanguage<std::string>(language, "Het oude bestand is ongewijzigd.", "The old file is unchanged.")};
}

std::string comLinkText(int port, const std::string& target) { return "COM" + integerText(port) + ": " + target; }

std::string nothingFoundText(Language language) {
    return inLanguage<std::string>(language, "Geen seriele poort en geen gpsd gevonden",
                                   "No serial device and no gpsd found");
}

std::string searchingText(Language language) { return inLanguage<std::string>(language, "Zoeken...", "Searching..."); }

std::string attachedText(Language language, int port, const std::string& target) {
    return "COM" + integerText(port) + inLanguage<std::string>(language, " gekoppeld aan ", " attached to ") + target;
}

std::string attachFailedText(Language language, const std::string& reason) {
    return inLanguage<std::string>(language, "Niet gekoppeld: ", "Not attached: ") + reason;
}

}  // namespace tarvok::settings
