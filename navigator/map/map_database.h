// The map database "Autoload.TVK": the edges of every calibrated map in one
// folder, and the automatic map selection that picks the map containing a
// position. Plain logic over bytes; the window and the tools read and write
// the files.
//
// The file is a sequence of 140-byte records, nothing else:
//   0  36  path of the map's corner-coordinate file, blank padded
//   36  1  letter of the top edge ("N"/"S")     37 1  bottom edge ("N"/"S")
//   38  1  letter of the left edge ("E"/"W")    39 1  right edge ("E"/"W")
//   40 15  line 1 of the corner file as read (map name, CR LF included), blank padded
//   55 15  line 2, likewise                     70 15 line 3, likewise
//   85 15  zero bytes
//   100 8  top latitude, 108 bottom latitude, 116 left longitude, 124 right
//          longitude: absolute values, little-endian IEEE 754 doubles
//   132 8  zero bytes
// A reader gives an edge its minus sign from its letter ("S", "W").
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include "common/language.h"

#include "navigator/map/map_calibration.h"

namespace tarvok::map {

inline constexpr std::size_t kMapRecordSize = 140;
inline constexpr std::size_t kMapRecordPathWidth = 36;
inline constexpr std::size_t kMapRecordNameWidth = 15;
inline constexpr const char* kMapDatabaseName = "Autoload.TVK";

struct MapRecord {
    std::string cornerFilePath;  // DOS path, without padding
    char topLetter = 'N', bottomLetter = 'N', leftLetter = 'E', rightLetter = 'E';
    std::array<std::string, 3> nameLines;  // the first 15 characters of lines 1 to 3
    MapEdges edges;                        // signed: north and east positive

    // The bitmap beside the corner file: its path with the last three
    // characters replaced by "bmp".
    std::string bitmapPath() const;
};

// The 140 bytes of a record; the path and name lines are cut at their
// width and blank padded. The edges are written as absolute values.
std::string encodeMapRecord(const MapRecord& record);
// A record from 140 bytes: path and lines with trailing blanks trimmed,
// edges signed by their letters.
MapRecord decodeMapRecord(std::string_view bytes);
// Every complete record of a database file's content, in file order.
std::vector<MapRecord> decodeMapDatabase(std::string_view content);

// FIND needs a database with at least one complete record; a shorter file
// (of 50 bytes or less in particular) counts as missing.
bool mapDatabaseSearchable(std::uintmax_t fileSize);

// The map folder: the map path in front of its last "\" (empty when the
// path has none or nothing stands in front of it).
std::string mapFolderOf(std::string_view mapPath);

// The width and height of a BMP file from the first bytes of its header
// (BITMAPINFOHEADER and later, or the old BITMAPCOREHEADER); nothing when
// the bytes are not a BMP header. kBitmapHeaderBytes are enough.
inline constexpr std::size_t kBitmapHeaderBytes = 26;
struct BitmapSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};
std::optional<BitmapSize> bitmapSizeFromHeader(std::string_view header);

enum class MapEntryOutcome {
    Written,      // a record for the database
    NotNumeric,   // a coordinate field is not numeric: left out silently
    PathTooLong,  // the path does not fit its 36 characters: left out and counted
};

struct MapEntry {
    MapEntryOutcome outcome = MapEntryOutcome::NotNumeric;
    MapRecord record;
};

// The database entry of one corner-coordinate file: its reference points
// extended to the edges of its own bitmap (`size`, read from that bitmap's
// header). Each edge's letter follows the sign of the computed edge, so a
// map across the equator or the prime meridian reads back right.
MapEntry mapDatabaseEntry(std::string_view cornerFilePath, std::string_view cornerFileText, BitmapSize size);

// What the files of a build are read through (DOS paths).
class MapFolderFiles {
public:
    virtual ~MapFolderFiles() = default;
    // The whole file, or nothing when it cannot be read.
    virtual std::optional<std::string> readFile(const std::string& dosPath) = 0;
    // The first `count` bytes (fewer for a shorter file), or nothing.
    virtual std::optional<std::string> readStart(const std::string& dosPath, std::size_t count) = 0;
};

// The ground size of one pixel of a map, in metres: the square root of the
// ground area the map covers (a sphere of 6,371,000 m, the width measured at
// the middle latitude) over its pixel count. Smaller is more detailed.
double metresPerPixel(const MapEdges& edges, BitmapSize size);

// BuildMapDatabase one file at a time, so the window can show each path
// and stay responsive between files. The records come out ordered from the
// most detailed map (fewest metres per pixel) to the coarsest, ties by file
// name, so the search's first containing record is the most detailed map
// that holds the position, whatever order the folder listing gave.
class MapDatabaseBuild {
public:
    // `cornerFiles`: the folder's "*.des" files as full DOS paths, in listing
    // order. `loadedSize`: the size of the loaded bitmap, used for a map
    // whose own bitmap header cannot be read.
    MapDatabaseBuild(std::vector<std::string> cornerFiles, BitmapSize loadedSize);

    bool done() const { return next_ >= files_.size(); }
    // The path the next step reads (for the status line).
    const std::string& nextPath() const { return files_[next_]; }
    // Reads the next corner file and its bitmap's header.
    MapEntryOutcome step(MapFolderFiles& files);

    // The records written so far, in database order, as the file's content.
    std::string content() const;
    // Each record's path and metres per pixel, in database order.
    struct Ranked {
        double metresPerPixel = 0;
        std::string cornerFilePath;
        std::string bytes;  // the encoded record
    };
    const std::vector<Ranked>& records() const { return records_; }
    std::size_t recordCount() const { return records_.size(); }
    std::size_t leftOutLongPaths() const { return longPaths_; }
    std::size_t leftOutNotNumeric() const { return notNumeric_; }

private:
    std::vector<std::string> files_;
    BitmapSize loadedSize_;
    std::size_t next_ = 0;
    std::vector<Ranked> records_;  // kept in database order
    std::size_t longPaths_ = 0;
    std::size_t notNumeric_ = 0;
};

enum class MapSearchOutcome {
    PositionNotNumeric,  // Latid or Longi is not numeric: the missing-position message
    NoMap,               // no record contains the position
    Found,
};

struct MapSearch {
    MapSearchOutcome outcome = MapSearchOutcome::NoMap;
    std::size_t index = 0;  // Found: the first record that contains the position
    std::string nsText;     // NSText / EWText as the search leaves them:
    std::string ewText;     //   upper case, empty ones "N" and "E"
    double latitude = 0;    // the position, signed
    double longitude = 0;
};

// FindMapForPosition's search: the first record, in file order from record
// `from` on, whose edges contain the position strictly (a position on an
// edge is outside). "S" or "Z" in NSText makes the latitude south, "W" in
// EWText the longitude west.
MapSearch searchMapForPosition(const std::vector<MapRecord>& records, std::string_view latid, std::string_view longi,
                               std::string_view nsText, std::string_view ewText, std::size_t from = 0);

// The corner boxes of a found map: each edge as the shortest decimal text
// of its absolute value, cut or blank padded to 8 characters, the degree
// sign (byte 176) and the edge's letter; two per box joined by "; ".
CornerBoxes mapRecordCornerBoxes(const MapRecord& record);

// The status texts after a map was found: Text8 " MAP: " path " ;  " W " x "
// H " pixels", and Label6 " MAP:  " with the name field in upper case.
std::string foundMapStatusText(std::string_view bitmapPath, std::int32_t width, std::int32_t height);
std::string foundMapLabelText(const MapRecord& record);

// Label6 texts ('0' Dutch, else English).
std::string databaseLoadedText(Language language, std::size_t leftOutLongPaths);
const char* searchingMapText(Language language);
const char* noMapFoundText(Language language);

// The lines of the two messages (critical stop, titled "TARVOK").
std::vector<std::string> noMapFilesLines(Language language);
std::vector<std::string> noMapDatabaseLines(Language language);
// The database could not be written (a full disk, a read-only folder); the
// previous database stays as it was.
std::vector<std::string> mapDatabaseNotWrittenLines(Language language, std::string_view file, std::string_view reason);

}  // namespace tarvok::map
