// The point lines of text track files and the texts a track point shows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvok {

// What one track point fills in the main window (Windows-1252 texts).
struct TrackPointTexts {
    std::string tijds;   // time of day, "hh:mm:ss" in both text formats
    std::string datum;   // date
    std::string latid;   // latitude, decimal degrees with a decimal comma
    std::string longi;   // longitude
    std::string nsText;  // hemisphere letter of the latitude
    std::string ewText;  // hemisphere letter of the longitude

    bool operator==(const TrackPointTexts&) const = default;
};

enum class TrackFormat {
    TrackFile,  // "*.trk": degrees and decimal minutes, hemisphere letters
    Text,       // "*.txt": decimal degrees, always north and east
    Gpx,        // "*.gpx": GPX 1.0/1.1 track points
};

// The format of a chosen file by its name: a name whose last three
// characters are "txt" (lower case, compared exactly) is a text export; a
// name ending in ".gpx" in any case is GPX; anything else, including
// ".TXT", is read as a track file.
TrackFormat trackFormatForName(std::string_view fileName);

// The point of a line cut by TrackLineReader, when the line is a point line
// ("T" at position 2). Columns missing from a short line read as empty text;
// coordinates that are not numbers become the zero texts of the format.
std::optional<TrackPointTexts> trackPointFromLine(std::string_view line, TrackFormat format);

}  // namespace tarvok
