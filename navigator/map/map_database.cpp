#include "navigator/map/map_database.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "common/text.h"
#include "platform/dos_path.h"

namespace tarvok::map {

namespace {

static_assert(std::endian::native == std::endian::little, "records are written in the machine's byte order");

constexpr std::size_t kTopLetterAt = 36;
constexpr std::size_t kNameLinesAt = 40;
constexpr std::size_t kEdgesAt = 100;

void putDouble(std::string& bytes, std::size_t at, double value) { std::memcpy(bytes.data() + at, &value, 8); }

double getDouble(std::string_view bytes, std::size_t at) {
    double v;
    std::memcpy(&v, bytes.data() + at, 8);
    return v;
}

std::int32_t getInt32(std::string_view bytes, std::size_t at) {
    std::int32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

std::int16_t getInt16(std::string_view bytes, std::size_t at) {
    std::int16_t v;
    std::memcpy(&v, bytes.data() + at, 2);
    return v;
}

double signedBy(char letter, char negative, double value) {
    return letter == negative ? -std::fabs(value) : std::fabs(value);
}

char latitudeLetter(double edge) { return edge < 0 ? 'S' : 'N'; }
char longitudeLetter(double edge) { return edge < 0 ? 'W' : 'E'; }

}  // namespace

std::string MapRecord::bitmapPath() const {
    const std::size_t keep = cornerFilePath.size() >= 3 ? cornerFilePath.size() - 3 : 0;
    return cornerFilePath.substr(0, keep) + "bmp";
}

std::string encodeMapRecord(const MapRecord& r) {
    std::string bytes(kMapRecordSize, '\0');
    bytes.replace(0, kMapRecordPathWidth, padRightToWidth(r.cornerFilePath, kMapRecordPathWidth));
    bytes[kTopLetterAt] = r.topLetter;
    bytes[kTopLetterAt + 1] = r.bottomLetter;
    bytes[kTopLetterAt + 2] = r.leftLetter;
    bytes[kTopLetterAt + 3] = r.rightLetter;
    for (std::size_t i = 0; i < r.nameLines.size(); ++i)
        bytes.replace(kNameLinesAt + i * kMapRecordNameWidth, kMapRecordNameWidth,
                      padRightToWidth(r.nameLines[i], kMapRecordNameWidth));
    putDouble(bytes, kEdgesAt, std::fabs(r.edges.top));
    putDouble(bytes, kEdgesAt + 8, std::fabs(r.edges.bottom));
    putDouble(bytes, kEdgesAt + 16, std::fabs(r.edges.left));
    putDouble(bytes, kEdgesAt + 24, std::fabs(r.edges.right));
    return bytes;
}

MapRecord decodeMapRecord(std::string_view bytes) {
    MapRecord r;
    r.cornerFilePath = std::string(trimTrailingBlanks(bytes.substr(0, kMapRecordPathWidth)));
    r.topLetter = bytes[kTopLetterAt];
    r.bottomLetter = bytes[kTopLetterAt + 1];
    r.leftLetter = bytes[kTopLetterAt + 2];
    r.rightLetter = bytes[kTopLetterAt + 3];
    for (std::size_t i = 0; i < r.nameLines.size(); ++i)
        r.nameLines[i] =
            std::string(trimTrailingBlanks(bytes.substr(kNameLinesAt + i * kMapRecordNameWidth, kMapRecordNameWidth)));
    r.edges.top = signedBy(r.topLetter, 'S', getDouble(bytes, kEdgesAt));
    r.edges.bottom = signedBy(r.bottomLetter, 'S', getDouble(bytes, kEdgesAt + 8));
    r.edges.left = signedBy(r.leftLetter, 'W', getDouble(bytes, kEdgesAt + 16));
    r.edges.right = signedBy(r.rightLetter, 'W', getDouble(bytes, kEdgesAt + 24));
    return r;
}

std::vector<MapRecord> decodeMapDatabase(std::string_view content) {
    std::vector<MapRecord> records;
    records.reserve(content.size() / kMapRecordSize);
    for (std::size_t at = 0; at + kMapRecordSize <= content.size(); at += kMapRecordSize)
        records.push_back(decodeMapRecord(content.substr(at, kMapRecordSize)));
    return records;
}

bool mapDatabaseSearchable(std::uintmax_t fileSize) { return fileSize >= kMapRecordSize; }

std::string mapFolderOf(std::string_view mapPath) {
    const std::size_t slash = mapPath.rfind('\\');
    if (slash == std::string_view::npos) return {};
    return std::string(mapPath.substr(0, slash));
}

std::optional<BitmapSize> bitmapSizeFromHeader(std::string_view h) {
    if (h.size() < kBitmapHeaderBytes || h[0] != 'B' || h[1] != 'M') return std::nullopt;
    const std::int32_t infoSize = getInt32(h, 14);
    BitmapSize s;
    if (infoSize == 12) {
        s = {getInt16(h, 18), getInt16(h, 20)};
    } else if (infoSize >= 40) {
        s = {getInt32(h, 18), getInt32(h, 22)};
        if (s.height < 0 && s.height != INT32_MIN) s.height = -s.height;  // rows stored top-down
    } else {
        return std::nullopt;
    }
    if (s.width <= 0 || s.height <= 0) return std::nullopt;
    return s;
}

MapEntry mapDatabaseEntry(std::string_view cornerFilePath, std::string_view cornerFileText, BitmapSize size) {
    MapEntry e;
    const CornerCoordinates file = parseCornerCoordinates(cornerFileText);
    MapEdges edges;
    if (!calibrateEdges(file, size.width, size.height, edges).complete) return e;
    if (cornerFilePath.size() > kMapRecordPathWidth) {
        e.outcome = MapEntryOutcome::PathTooLong;
        return e;
    }
    e.outcome = MapEntryOutcome::Written;
    MapRecord& r = e.record;
    r.cornerFilePath = std::string(cornerFilePath);
    r.edges = edges;
    r.topLetter = latitudeLetter(edges.top);
    r.bottomLetter = latitudeLetter(edges.bottom);
    r.leftLetter = longitudeLetter(edges.left);
    r.rightLetter = longitudeLetter(edges.right);
    for (std::size_t i = 0; i < r.nameLines.size(); ++i) r.nameLines[i] = file.lines[i].substr(0, kMapRecordNameWidth);
    return e;
}

double metresPerPixel(const MapEdges& e, BitmapSize size) {
    constexpr double kEarthRadius = 6371000.0;
    constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
    const double height = std::fabs(e.top - e.bottom) * kRadiansPerDegree * kEarthRadius;
    const double width = std::fabs(e.right - e.left) * kRadiansPerDegree * kEarthRadius *
                         std::cos((e.top + e.bottom) / 2 * kRadiansPerDegree);
    const double pixels = double(std::max(size.width, 1)) * double(std::max(size.height, 1));
    return std::sqrt(std::fabs(width * height) / pixels);
}

namespace {

// Database order: the more detailed map first; equal ones by file name in
// upper case, then by the whole path, so the order never depends on the listing.
bool rankedBefore(const MapDatabaseBuild::Ranked& a, const MapDatabaseBuild::Ranked& b) {
    if (a.metresPerPixel != b.metresPerPixel) return a.metresPerPixel < b.metresPerPixel;
    const std::string an = upperAscii(dosFileNameOf(a.cornerFilePath));
    const std::string bn = upperAscii(dosFileNameOf(b.cornerFilePath));
    if (an != bn) return an < bn;
    return a.cornerFilePath < b.cornerFilePath;
}

}  // namespace

MapDatabaseBuild::MapDatabaseBuild(std::vector<std::string> cornerFiles, BitmapSize loadedSize)
    : files_(std::move(cornerFiles)), loadedSize_(loadedSize) {}

std::string MapDatabaseBuild::content() const {
    std::string bytes;
    bytes.reserve(records_.size() * kMapRecordSize);
    for (const Ranked& r : records_) bytes += r.bytes;
    return bytes;
}

MapEntryOutcome MapDatabaseBuild::step(MapFolderFiles& files) {
    const std::string path = files_[next_++];
    const std::optional<std::string> text = files.readFile(path);
    BitmapSize size = loadedSize_;
    MapRecord probe;
    probe.cornerFilePath = path;
    if (auto header = files.readStart(probe.bitmapPath(), kBitmapHeaderBytes))
        if (auto own = bitmapSizeFromHeader(*header)) size = *own;
    const MapEntry e = mapDatabaseEntry(path, text.value_or(std::string{}), size);
    switch (e.outcome) {
    case MapEntryOutcome::Written: {
        Ranked r{metresPerPixel(e.record.edges, size), path, encodeMapRecord(e.record)};
        records_.insert(std::upper_bound(records_.begin(), records_.end(), r, rankedBefore), std::move(r));
        break;
    }
    case MapEntryOutcome::PathTooLong: ++longPaths_; break;
    case MapEntryOutcome::NotNumeric: ++notNumeric_; break;
    }
    return e.outcome;
}

MapSearch searchMapForPosition(const std::vector<MapRecord>& records, std::string_view latid, std::string_view longi,
                               std::string_view nsText, std::string_view ewText, std::size_t from) {
    MapSearch s;
    if (!isNumeric(latid) || !isNumeric(longi)) {
        s.outcome = MapSearchOutcome::PositionNotNumeric;
        return s;
    }
    s.nsText = upperAscii(nsText);
    s.ewText = upperAscii(ewText);
    if (s.nsText.empty()) s.nsText.assign(1, 'N');
    if (s.ewText.empty()) s.ewText.assign(1, 'E');
    s.latitude = numericValue(latid);
    s.longitude = numericValue(longi);
    if (s.nsText == "S" || s.nsText == "Z") s.latitude = -std::fabs(s.latitude);
    if (s.ewText == "W") s.longitude = -std::fabs(s.longitude);
    for (std::size_t i = from; i < records.size(); ++i) {
        const MapEdges& e = records[i].edges;
        if (e.bottom < s.latitude && s.latitude < e.top && e.left < s.longitude && s.longitude < e.right) {
            s.outcome = MapSearchOutcome::Found;
            s.index = i;
            return s;
        }
    }
    s.outcome = MapSearchOutcome::NoMap;
    return s;
}

CornerBoxes mapRecordCornerBoxes(const MapRecord& r) {
    auto edge = [](double value, char letter) {
        return padRightToWidth(decimalCommaText(std::fabs(value)), 8) + '\xB0' + letter;
    };
    const std::string top = edge(r.edges.top, r.topLetter);
    const std::string bottom = edge(r.edges.bottom, r.bottomLetter);
    const std::string left = edge(r.edges.left, r.leftLetter);
    const std::string right = edge(r.edges.right, r.rightLetter);
    CornerBoxes b;
    b.lowerLeft = bottom + "; " + left;
    b.lowerRight = bottom + "; " + right;
    b.upperLeft = top + "; " + left;
    b.upperRight = top + "; " + right;
    return b;
}

std::string foundMapStatusText(std::string_view bitmapPath, std::int32_t width, std::int32_t height) {
    std::string t = " MAP: ";
    t += bitmapPath;
    t += " ;  ";
    t += integerText(width);
    t += " x ";
    t += integerText(height);
    t += " pixels";
    return t;
}

std::string foundMapLabelText(const MapRecord& record) {
    // The name field without the line end it may hold.
    return " MAP:  " + upperAscii(withoutLineEnding(record.nameLines[0]));
}

std::string databaseLoadedText(Language language, std::size_t leftOutLongPaths) {
    const bool dutch = language == Language::Dutch;
    std::string t = dutch ? " DATABASE GELADEN " : " DATABASE LOADED ! ";
    if (leftOutLongPaths > 0) {
        t += integerText(static_cast<long long>(leftOutLongPaths));
        t += dutch ? " kaart(en) weggelaten: pad langer dan 36 tekens"
                   : " map(s) left out: path longer than 36 characters";
    }
    return t;
}

const char* searchingMapText(Language language) {
    return language == Language::Dutch ? " OPZOEKEN KAART..." : " SEARCHING MAP... ";
}

const char* noMapFoundText(Language language) {
    return language == Language::Dutch ? " GEEN KAART " : " NO MAP FOUND ";
}

std::vector<std::string> noMapFilesLines(Language language) {
    if (language == Language::Dutch)
        return {"WAARSCHUWING",
                "",
                "BESTANDEN NIET GEVONDEN!",
                "",
                "U moet eerst het pad kiezen waarin",
                "uw bitmaps zich bevinden",
                "",
                "Dit doet u door (eenmalig) met 'LAAD'",
                "een willekeurige kaart in te lezen."};
    return {"WARNING!",
            "",
            "NO FILES FOUND!",
            "",
            "You must first select the path in which",
            "your bitmaps are located.",
            "",
            "This is done by simply selecting a bitmap",
            "at random (only once) from that directory.",
            "",
            "Please try again!"};
}

std::vector<std::string> noMapDatabaseLines(Language language) {
    if (language == Language::Dutch)
        return {"WAARSCHUWING",
                "",
                "Bestand 'AUTOLOAD.TVK' niet gevonden! ",
                "",
                "Laad eerst een willekeurige kaart uit",
                "de directory met de Bitmap kaarten ",
                "druk daarna op de AUTO knop.",
                "Er wordt dan een database aangemaakt die",
                "in AUTOLOAD.TVK wordt opgeslagen.",
                ""};
    return {"WARNING!",
            "",
            "File 'AUTOLOAD.TVK' not found! ",
            "",
            "Please first at random load a map from",
            "the directory with your Bitmaps and ",
            "then press the AUTO button.",
            "A database will then be made and stored",
            "in the AUTOLOAD.TVK file.",
            ""};
}

std::vector<std::string> mapDatabaseNotWrittenLines(Language language, std::string_view file, std::string_view reason) {
    if (language == Language::Dutch)
        return {"WAARSCHUWING",
                "",
                "De kaart-database kan niet worden",
                "opgeslagen in:",
                std::string(file),
                "(" + std::string(reason) + ")",
                "",
                "De vorige database blijft bewaard.",
                ""};
    return {"WARNING!",
            "",
            "The map database could not",
            "be stored in:",
            std::string(file),
            "(" + std::string(reason) + ")",
            "",
            "The previous database is kept.",
            ""};
}

}  // namespace tarvok::map
