#include "navigator/map/map_calibration.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "common/text.h"
#include "navigator/map/map_database.h"

namespace tarvok::map {

std::string besideBitmap(std::string_view mapPath, std::string_view extension) {
    // The extension is everything from the last dot of the file name; for
    // the usual three-letter extensions that is the last four characters.
    std::size_t slash = mapPath.find_last_of("\\/");
    std::size_t dot = mapPath.rfind('.');
    std::string_view stem = mapPath;
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash))
        stem = mapPath.substr(0, dot);
    return std::string(stem) + std::string(extension);
}

std::array<std::string, 5> splitCornerFileLines(std::string_view text) {
    std::array<std::string, 5> lines;
    std::size_t pos = 0;
    for (auto& line : lines) {
        if (pos >= text.size()) break;
        std::size_t lf = text.find('\n', pos);
        std::size_t end = lf == std::string_view::npos ? text.size() : lf + 1;
        line.assign(text.substr(pos, end - pos));
        pos = end;
    }
    return lines;
}

std::string_view withoutLineEnding(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

ReferencePointFields cutReferencePoint(std::string_view line) {
    // One left-to-right scan with one running position. The Y field ends at
    // the line's own ending, so a last line without CR LF keeps all of it.
    std::string_view text = withoutLineEnding(line);
    ReferencePointFields f;
    std::size_t pos = 0;
    auto takeThrough = [&](std::string_view letters) {
        std::size_t at = text.find_first_of(letters, pos);
        std::size_t end = at == std::string_view::npos ? text.size() : at + 1;
        std::string field(text.substr(pos, end - pos));
        pos = end;
        return field;
    };
    f.latitude = takeThrough("NS");
    f.longitude = takeThrough("EW");
    std::size_t comma = text.find(',', pos);
    if (comma == std::string_view::npos) return f;
    pos = comma + 1;
    std::size_t next = text.find(',', pos);
    if (next == std::string_view::npos) {
        f.x.assign(text.substr(pos));
        return f;
    }
    f.x.assign(text.substr(pos, next - pos));
    f.y.assign(text.substr(next + 1));
    return f;
}

CornerCoordinates parseCornerCoordinates(std::string_view fileText) {
    CornerCoordinates c;
    c.lines = splitCornerFileLines(fileText);
    c.a = cutReferencePoint(c.lines[3]);
    c.b = cutReferencePoint(c.lines[4]);
    return c;
}

std::string mapNameOf(const CornerCoordinates& file) { return std::string(withoutLineEnding(file.lines[0])); }

namespace {

// Degrees in the first `degreeDigits` characters, minutes x 100 up to the
// hemisphere letter (the field's last character).
std::optional<double> coordinateValue(std::string_view field, std::size_t degreeDigits) {
    if (!isNumeric(field.substr(0, 3))) return std::nullopt;
    double degrees = numericValue(field.substr(0, degreeDigits));
    std::string_view minutes;
    if (field.size() > degreeDigits + 1) minutes = field.substr(degreeDigits, field.size() - 1 - degreeDigits);
    return degrees + numericValue(minutes) / 6000.0;
}

std::string cornerText(std::string_view field, std::size_t degreeDigits) {
    std::string s(field.substr(0, degreeDigits));
    s += '\xB0';
    if (field.size() > degreeDigits + 1) s += field.substr(degreeDigits, field.size() - 1 - degreeDigits);
    s += '\'';
    if (field.size() > degreeDigits) s += field.back();
    return s;
}

std::int32_t pixelValue(std::string_view field) { return roundToInt32(numericValue(field)).value_or(0); }

}  // namespace

std::optional<double> latitudeValue(std::string_view field) { return coordinateValue(field, 2); }
std::optional<double> longitudeValue(std::string_view field) { return coordinateValue(field, 3); }

char hemisphereLetter(std::string_view field) { return field.empty() ? '\0' : field.back(); }

std::string cornerLatitudeText(std::string_view field) { return cornerText(field, 2); }
std::string cornerLongitudeText(std::string_view field) { return cornerText(field, 3); }

CalibrationResult calibrateEdges(const CornerCoordinates& file, std::int32_t width, std::int32_t height,
                                 MapEdges& edges) {
    CalibrationResult r;
    const ReferencePointFields& a = file.a;
    const ReferencePointFields& b = file.b;

    // Each conversion is stored as soon as it is made; a field that is not
    // numeric ends the calibration there.
    auto bLat = latitudeValue(b.latitude);
    if (!bLat) return r;
    edges.top = *bLat;
    auto aLat = latitudeValue(a.latitude);
    if (!aLat) return r;
    edges.bottom = *aLat;
    auto bLon = longitudeValue(b.longitude);
    if (!bLon) return r;
    edges.right = *bLon;
    auto aLon = longitudeValue(a.longitude);
    if (!aLon) return r;
    edges.left = *aLon;
    r.complete = true;

    const std::string comma = ", ";
    r.corners.lowerLeft = cornerLatitudeText(a.latitude) + comma + cornerLongitudeText(a.longitude);
    r.corners.upperRight = cornerLatitudeText(b.latitude) + comma + cornerLongitudeText(b.longitude);
    r.corners.lowerRight = cornerLatitudeText(a.latitude) + comma + cornerLongitudeText(b.longitude);
    r.corners.upperLeft = cornerLatitudeText(b.latitude) + comma + cornerLongitudeText(a.longitude);

    r.ax = pixelValue(a.x);
    r.ay = pixelValue(a.y);
    r.bx = pixelValue(b.x);
    r.by = pixelValue(b.y);

    // Hemisphere indicators from the unsigned values, then the signs.
    r.ns = edges.top - edges.bottom > 0 ? 'N' : 'S';
    r.ew = edges.right - edges.left > 0 ? 'E' : 'W';
    if (hemisphereLetter(b.latitude) == 'S') edges.top = -std::fabs(edges.top);
    if (hemisphereLetter(a.latitude) == 'S') edges.bottom = -std::fabs(edges.bottom);
    if (hemisphereLetter(b.longitude) == 'W') edges.right = -std::fabs(edges.right);
    if (hemisphereLetter(a.longitude) == 'W') edges.left = -std::fabs(edges.left);

    const double dLat = std::fabs(edges.top - edges.bottom);
    const double dLon = std::fabs(edges.right - edges.left);
    const double dY = std::fabs(double(r.by) - double(r.ay));
    const double dX = std::fabs(double(r.bx) - double(r.ax));
    if (dLat == 0 || dLon == 0 || dY == 0 || dX == 0) return r;
    r.pointsSpanMap = true;

    const MapEdges ref = edges;
    edges.top = ref.top + (r.by / dY) * dLat;
    edges.bottom = ref.bottom - ((height - double(r.ay)) / dY) * dLat;
    edges.left = ref.left - (r.ax / dX) * dLon;
    edges.right = ref.right + ((width - double(r.bx)) / dX) * dLon;
    return r;
}

std::string mapStatusText(std::string_view name, std::int32_t width, std::int32_t height) {
    return " MAP:  " + std::string(name) + " ;  " + integerText(width) + " x " + integerText(height) + " pixels";
}

std::string mapLabelText(std::string_view name) { return " MAP: " + std::string(name); }

std::vector<std::string> noCornerFileLines(Language language) {
    if (language == Language::Dutch)
        return {"WAARSCHUWING",
                "",
                "Geen bijbehorende file met ",
                "hoek-coordinaten gevonden!",
                "",
                "Maak een 'DES' file aan!",
                "Zie de Gebruiksaanwijzing.",
                ""};
    return {"WARNING!",
            "",
            "No matching file found with",
            "corner-coordinates!",
            "",
            "Please create a 'DES' file ",
            "for this Bitmap (see Userguide).",
            ""};
}

std::vector<std::string> mapNotFoundLines(Language language) {
    if (language == Language::Dutch)
        return {"WAARSCHUWING",
                "",
                "Kaart niet gevonden, ondanks dat",
                "naam wel vermeld in de database!",
                "",
                "Laad opnieuw de database door op",
                "de AUTO knop te drukken",
                ""};
    return {"WARNING!",
            "",
            "Map not found, although its name",
            "is included in the database!",
            "",
            "Please re-load the database",
            "by pressing the AUTO button.",
            ""};
}

std::vector<std::string> referencePointsOnOneLineLines(Language language) {
    if (language == Language::Dutch)
        return {"WAARSCHUWING",
                "",
                "De referentiepunten A en B in de file",
                "met hoek-coordinaten hebben dezelfde",
                "breedte, lengte, kolom of rij:",
                "de kaartranden zijn niet te bepalen.",
                "",
                "Verbeter de 'DES' file!",
                "Zie de Gebruiksaanwijzing.",
                ""};
    return {"WARNING!",
            "",
            "The reference points A and B in the",
            "corner-coordinate file share a latitude,",
            "longitude, column or row:",
            "the map edges cannot be derived.",
            "",
            "Please correct the 'DES' file",
            "for this Bitmap (see Userguide).",
            ""};
}

namespace {

// A bitmap that is not shown: the warning, why (one or two lines), the
// file's name and that the previous map stays.
std::vector<std::string> bitmapNotShownLines(Language language, std::initializer_list<const char*> why,
                                             std::string_view fileName) {
    std::vector<std::string> lines{inLanguage(language, "WAARSCHUWING", "WARNING!"), ""};
    lines.insert(lines.end(), why.begin(), why.end());
    lines.insert(lines.end(),
                 {std::string(fileName), "",
                  inLanguage(language, "De vorige kaart blijft in beeld.", "The previous map stays on screen."), ""});
    return lines;
}

}  // namespace

std::vector<std::string> unreadableBitmapLines(Language language, std::string_view fileName) {
    if (language == Language::Dutch)
        return bitmapNotShownLines(
            language, {"Deze bitmap kan niet gelezen worden", "(beschadigd bestand of onbekend formaat):"}, fileName);
    return bitmapNotShownLines(language, {"This bitmap cannot be read", "(damaged file or unknown format):"}, fileName);
}

std::vector<std::string> bitmapTooLargeLines(Language language, std::string_view fileName) {
    if (language == Language::Dutch)
        return bitmapNotShownLines(language, {"Deze bitmap is groter dan 32767", "pixels in breedte of hoogte:"},
                                   fileName);
    return bitmapNotShownLines(language, {"This bitmap is larger than 32767", "pixels in width or height:"}, fileName);
}

std::vector<std::string> fileNotReadLines(Language language, std::string_view reason) {
    if (language == Language::Dutch)
        return {"WAARSCHUWING", "", "Dit bestand kan niet gelezen worden:", std::string(reason), ""};
    return {"WARNING!", "", "This file cannot be read:", std::string(reason), ""};
}

std::vector<std::string> bitmapNoMemoryLines(Language language, std::string_view fileName) {
    return bitmapNotShownLines(
        language, {inLanguage(language, "Te weinig geheugen voor deze bitmap:", "Not enough memory for this bitmap:")},
        fileName);
}

std::string bitmapFileFilter(Language language, const std::vector<std::string>& formats) {
    std::vector<std::string> suffixes{"bmp"};
    for (const std::string& f : formats) {
        std::string lower;
        for (char c : f) lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        if (!lower.empty() && std::find(suffixes.begin(), suffixes.end(), lower) == suffixes.end())
            suffixes.push_back(lower);
    }
    std::string patterns;
    for (const std::string& s : suffixes) patterns += (patterns.empty() ? "*." : ";*.") + s;
    const std::string images = inLanguage(language, "Kaartafbeeldingen", "Map images");
    const std::string all = inLanguage(language, "Alle bestanden", "All Files");
    return images + " (" + patterns + ")|" + patterns + "|" + all + " (*.*)|*.*";
}

std::string bitmapDialogFolder(std::string_view mapPath, std::string_view programFolder,
                               const std::function<bool(const std::string&)>& exists) {
    const std::string program(programFolder);
    for (const std::string& folder : {mapFolderOf(mapPath), program + "\\KAARTEN"})
        if (!folder.empty() && exists(folder)) return folder;
    return program;
}

std::string selectBitmapText(Language language) {
    return language == Language::Dutch ? "SELECTEER BITMAP" : "SELECT A BITMAP";
}

}  // namespace tarvok::map
