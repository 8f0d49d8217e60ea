// The calibration of a bitmap map: its size, the latitudes of its top and
// bottom edges and the longitudes of its left and right edges, derived from
// the corner-coordinate file that lies beside the bitmap.
//
// The corner-coordinate file ("<bitmap less its extension>.dbm", else
// ".des") is plain 8-bit text of which five lines are read: the map name,
// two free lines, reference point A (lower left part of the bitmap) and
// reference point B (upper right part). A reference-point line reads
//   DDMMmmN DDDMMmmE ... , X , Y
// e.g. "521000N0040000E,0,400": latitude degrees and minutes x 100, its
// hemisphere letter, longitude likewise, then after the first comma the
// pixel column and row of the point.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include "common/language.h"

namespace tarvok::map {

// Latitudes north positive, longitudes east positive, decimal degrees.
struct MapEdges {
    double top = 0;     // latitude of pixel row 0
    double bottom = 0;  // latitude of pixel row H
    double left = 0;    // longitude of pixel column 0
    double right = 0;   // longitude of pixel column W
};

// The current map: the single source of every coordinate conversion.
struct MapCalibration {
    std::string mapPath;       // DOS path of the bitmap
    std::int32_t width = 640;  // bitmap size in pixels
    std::int32_t height = 480;
    MapEdges edges;
    std::string mapName;  // line 1 of the corner-coordinate file
};

// The DOS path of a file beside the bitmap with the same name: the bitmap
// path less its extension with its dot (the last four characters of
// "DELFT.BMP", the last five of "DELFT.tiff") plus `extension` (".dbm",
// ".des", ".WAV").
std::string besideBitmap(std::string_view mapPath, std::string_view extension);

// The corner-coordinate file of a bitmap: the ".dbm" file when it exists,
// else the ".des" file when that exists, else nothing. `exists` answers for
// a DOS path.
template <typename Exists>
std::optional<std::string> findCornerFile(std::string_view mapPath, Exists&& exists) {
    for (std::string_view ext : {".dbm", ".des"}) {
        std::string p = besideBitmap(mapPath, ext);
        if (exists(p)) return p;
    }
    return std::nullopt;
}

// The fields of one reference-point line, cut as written.
struct ReferencePointFields {
    std::string latitude;   // up to and including the first "N" or "S"
    std::string longitude;  // the following characters up to and including "E" or "W"
    std::string x;          // after the first comma behind the longitude, up to the next comma
    std::string y;          // after that comma up to the line ending
};

// The first five lines of a corner-coordinate file, each with its line
// ending kept (missing lines are empty), and the fields of lines 4 and 5.
struct CornerCoordinates {
    std::array<std::string, 5> lines;
    ReferencePointFields a;  // line 4, lower left part
    ReferencePointFields b;  // line 5, upper right part
};

std::array<std::string, 5> splitCornerFileLines(std::string_view text);
ReferencePointFields cutReferencePoint(std::string_view line);
CornerCoordinates parseCornerCoordinates(std::string_view fileText);

// A line without its ending (CR LF, or a lone LF or CR).
std::string_view withoutLineEnding(std::string_view line);

// The map name: line 1 without its line ending.
std::string mapNameOf(const CornerCoordinates& file);

// The unsigned value of a coordinate field, or nothing when its first three
// characters are not a number:
//   latitude  = first two characters + (characters 3 up to the letter) / 6000
//   longitude = first three characters + (characters 4 up to the letter) / 6000
std::optional<double> latitudeValue(std::string_view field);
std::optional<double> longitudeValue(std::string_view field);

// The hemisphere letter of a field: its last character ('\0' when empty).
char hemisphereLetter(std::string_view field);

// A coordinate as shown in a corner box: degree digits, the degree sign
// (byte 176), the minute digits, an apostrophe and the letter
// ("521000N" -> "52\xB01000'N").
std::string cornerLatitudeText(std::string_view field);
std::string cornerLongitudeText(std::string_view field);

// The texts of the four corner boxes.
struct CornerBoxes {
    std::string upperLeft;   // TextLB: B latitude, A longitude
    std::string upperRight;  // TextRB: B latitude, B longitude
    std::string lowerLeft;   // TextLO: A latitude, A longitude
    std::string lowerRight;  // TextRO: A latitude, B longitude
};

struct CalibrationResult {
    // False when a coordinate field is not numeric: the conversion stopped
    // there; the edges converted before it are stored, nothing else is set.
    bool complete = false;
    // False when A and B share a latitude, longitude, column or row: the
    // edges are then the reference values themselves and the map cannot be
    // calibrated properly (the user is told).
    bool pointsSpanMap = false;
    CornerBoxes corners;
    char ns = 0;                                  // NSText: 'N' when B lies north of A, else 'S'
    char ew = 0;                                  // EWText: 'E' when B lies east of A, else 'W'
    std::int32_t ax = 0, ay = 0, bx = 0, by = 0;  // pixel fields (0 when not numeric)
};

// Derives the edges of a width x height bitmap from the reference points.
// The four coordinates are converted in the order B latitude (top), A
// latitude (bottom), B longitude (right), A longitude (left), each stored in
// `edges` at once. Then "S" latitudes and "W" longitudes become negative and
// the points are extended to the edges:
//   top    = B.lat + (B.y / dY) * dLat      bottom = A.lat - ((H - A.y) / dY) * dLat
//   left   = A.lon - (A.x / dX) * dLon      right  = B.lon + ((W - B.x) / dX) * dLon
// with dLat = |B.lat - A.lat|, dLon = |B.lon - A.lon|, dX = |B.x - A.x|,
// dY = |B.y - A.y|; when any of them is 0 the edges stay at the reference values.
CalibrationResult calibrateEdges(const CornerCoordinates& file, std::int32_t width, std::int32_t height,
                                 MapEdges& edges);

// The status texts after a load: Text8 and Label6.
std::string mapStatusText(std::string_view name, std::int32_t width, std::int32_t height);
std::string mapLabelText(std::string_view name);

// Message lines (language '0' Dutch, else English).
std::vector<std::string> noCornerFileLines(Language language);
std::vector<std::string> mapNotFoundLines(Language language);
std::vector<std::string> referencePointsOnOneLineLines(Language language);
std::vector<std::string> unreadableBitmapLines(Language language, std::string_view fileName);
std::vector<std::string> bitmapTooLargeLines(Language language, std::string_view fileName);
std::vector<std::string> bitmapNoMemoryLines(Language language, std::string_view fileName);
// A bitmap or corner-coordinate file that cannot be opened: `reason` names
// the file and says why ("C:\KAART\A.des is not a file").
std::vector<std::string> fileNotReadLines(Language language, std::string_view reason);
std::string selectBitmapText(Language language);  // Label6 while the file dialog is open

// The LOAD dialog's filter ("desc|patterns|..."): the map images of every
// format in `formats` (file suffixes the navigator reads, any case), BMP
// first and each suffix once, then all files.
std::string bitmapFileFilter(Language language, const std::vector<std::string>& formats);

// The folder (DOS path) the LOAD dialog opens in: that of the current map,
// else <program folder>\KAARTEN, else the program folder itself, the first
// of them that exists.
std::string bitmapDialogFolder(std::string_view mapPath, std::string_view programFolder,
                               const std::function<bool(const std::string&)>& exists);

}  // namespace tarvok::map
