// The text files of the demonstration: the corner-coordinate file of each
// map sheet and the recorded drive as NMEA sentences.
#pragma once

#include <string>
#include <vector>

#include "demo_area.h"

namespace tarvok::demo {

// A coordinate as the corner file writes it: degrees (two digits for a
// latitude, three for a longitude), minutes x 100 as four digits, the
// hemisphere letter: 51.85 -> "515100N", 4.15 -> "0040900E".
std::string cornerLatitude(double lat);
std::string cornerLongitude(double lon);

// The five lines (CR LF) of a sheet's corner file: its title, two comment
// lines, reference point A on the lower left corner (column 0, row H) and B
// on the upper right corner (column W, row 0), so the edges read back are
// the sheet's own.
std::string cornerFileText(const MapSheet& sheet);

// One second of the drive.
struct DriveFix {
    int second = 0;  // since the start of the recording
    GeoPoint at;
    double speedMs = 0;  // metres per second
    double course = 0;   // degrees true, the direction of the last move
};

// The drive driven at 1 Hz: standing a few seconds at the start, then along
// the legs, speeding up and braking smoothly (never above a leg's speed,
// slowing in time for a slower next leg or a sharp turn), standing again at
// the end. Each
// fix's speed is the distance covered since the previous fix.
std::vector<DriveFix> simulateDrive(const Drive& drive);

// The sentences a modern receiver sends for the drive, one RMC and one GGA
// per second (talker GN, NMEA 4.1 fields, fields as wide as their values),
// each with its checksum; without line endings. The recording starts at
// `startHhmmss` on `dateDdmmyy` UTC.
std::vector<std::string> driveSentences(const std::vector<DriveFix>& fixes, int startHhmmss,
                                        const std::string& dateDdmmyy);

// "$" + body + "*" + the two hex digits of the XOR of the body's characters.
std::string withChecksum(const std::string& body);

}  // namespace tarvok::demo
