// NMEA 0183 sentences: the checksum, the fields, the sentence types the
// navigator reads.
//
// "$GNRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A":
// a '$', the talker ("GN") and the type ("RMC"), fields separated by commas,
// optionally '*' and two hex digits: the XOR of every character between '$'
// and '*'. A sentence is split into fields once; fields are whatever stands
// between two commas, of any width.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvok::gps {

enum class ChecksumState {
    Matches,  // '*' with two hex digits equal to the XOR
    Absent,   // no '*': old receivers and some bridges send none
    Wrong,    // '*' followed by anything but the right two hex digits
};

// The checksum state of a line (without line end) that starts with '$'.
ChecksumState checkChecksum(std::string_view line);

// The talkers whose RMC, GGA and GSA sentences are read: any two capital letters (GP, GN,
// GL, GA, GB, BD, GQ, GI, ...), but never a proprietary sentence, whose
// name starts with "P".
bool isKnownTalker(std::string_view talker);

// RMC is shown; GGA (fix quality, satellites) and GSA (2D or 3D) tell the
// receiver's fix status beside it.
enum class SentenceType { Other, RMC, GGA, GSA };

struct Sentence {
    std::string talker;  // "GP", "GN", ...
    SentenceType type = SentenceType::Other;
    std::string name;                 // "GPRMC"
    std::vector<std::string> fields;  // fields[0] is the name; fields[1] the first field
};

// Splits a line into a sentence: empty when it does not start with '$'. The
// checksum and what follows it are not part of the fields.
std::optional<Sentence> splitSentence(std::string_view line);

// What reception does with a line.
enum class LineVerdict {
    Process,      // a recognised sentence with a matching or absent checksum
    Ignore,       // not a sentence of a type that is read (logged only)
    BadChecksum,  // a recognised sentence whose checksum does not match
};

struct ClassifiedLine {
    LineVerdict verdict = LineVerdict::Ignore;
    Sentence sentence;  // filled for Process and BadChecksum
};

// The sentence is taken from the line's last '$' on.
ClassifiedLine classifyLine(std::string_view line);

// Whether a line holds a sentence of any type: from its last '$', an
// address of five capitals or digits and a checksum that matches or is
// absent. Noise at a wrong line speed does not pass.
bool holdsSentence(std::string_view line);

// The fields of an RMC sentence, as received.
struct RmcFields {
    std::string time;      // hhmmss[.sss]
    std::string status;    // A valid, V void (shown all the same)
    std::string latitude;  // ddmm.mm[mmm]
    std::string northSouth;
    std::string longitude;  // dddmm.mm[mmm]
    std::string eastWest;
    std::string speedKnots;  // sss.s or any decimal
    std::string course;      // ccc.c or any decimal
    std::string date;        // ddmmyy
};

// The RMC fields of a split sentence; fields missing at its end are empty.
RmcFields rmcFields(const Sentence& s);

// The receiver's fix as its latest sentences tell it.
struct FixStatus {
    bool known = false;   // a GGA, GSA or RMC has said something
    bool fix = false;     // GGA quality above 0, GSA mode 2 or 3, RMC status not V
    int quality = -1;     // GGA fix quality (1 GPS, 2 DGPS, 4 RTK, 5 RTK float, 6 estimated, ...), -1 unknown
    int dimension = 0;    // GSA: 2 or 3, 0 unknown
    int satellites = -1;  // GGA: satellites in use, -1 unknown
    friend bool operator==(const FixStatus&, const FixStatus&) = default;
};

// Takes what a GGA, GSA or RMC sentence says about the fix; empty or
// unreadable fields leave what was known. Other sentences change nothing.
void updateFixStatus(FixStatus& status, const Sentence& s);

}  // namespace tarvok::gps
