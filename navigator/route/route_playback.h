// Route playback as a pure walk over the route file: which records are
// shown, in which order, with which progress value, and how the walk ends.
//
// The walk starts at record 1 (record 0, the first block's filler, is never
// read). Records with a time stamp below the start threshold are passed
// over. While the start record is still being looked for the walk moves 200
// records at a time; on the first record at or after the threshold it steps
// back 200 records and goes on record by record. Should the 200-record
// steps run off the end of the file, the start moment lies in the last
// stretch: the walk goes on record by record after the last record read.
// Of the records at or after the threshold every 2^step-th is shown (the
// speed step 1..9). Speed step 0 is search mode: the one record the search
// lands on is shown and the walk ends.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "navigator/route/route_file.h"

namespace tarvok::route {

inline constexpr int kCoarseStep = 200;
inline constexpr int kMaxSpeedStep = 9;

// The end texts for Text7 (Dutch in both languages).
inline constexpr const char* kNoRouteDataText = "  Geen Routedata!";
inline constexpr const char* kSearchDoneText = "  Zoeken klaar!";

struct PlaybackEvent {
    enum class Kind {
        Show,      // show `record` (number `index`); the walk goes on
        Pending,   // the read budget of this call is used up; call again
        Finished,  // the walk is over: see `outcome`
    };
    enum class Outcome {
        None,
        NoRouteData,  // nothing at or after the start moment: kNoRouteDataText
        SearchDone,   // the end of the file after showing: kSearchDoneText
        SearchMode,   // speed step 0 showed its one record: progress 100, no text
    };
    Kind kind = Kind::Pending;
    Outcome outcome = Outcome::None;
    std::int64_t index = 0;
    RouteRecord record;
    // The value of the progress bar (0..100) at this moment.
    int progress = 0;
};

class RoutePlayback {
public:
    // `startThreshold`: seconds since 1 January 1995 (0 shows everything);
    // `speedStep` 0..9 (kept within that range).
    RoutePlayback(RouteFileReader file, double startThreshold, int speedStep);

    // Walks on to the next record to show, reading at most `maxReads`
    // records in this call (0: no limit).
    PlaybackEvent next(std::int64_t maxReads = 0);

    // The speed slider moved: the countdown takes the new step from its next
    // reload on (step 0 ends the walk after the next record shown).
    void setSpeedStep(int speedStep);

    int speedStep() const { return step_; }
    std::int64_t recordCount() const { return n_; }
    bool finished() const { return done_; }

private:
    int countdownStart() const;
    void advance();
    PlaybackEvent finish(PlaybackEvent::Outcome outcome);

    RouteFileReader file_;
    double threshold_;
    int step_;
    std::int64_t n_;
    std::int64_t i_ = 1;      // record number
    std::int64_t j_ = 0;      // steps since the start record
    std::int64_t start_ = 0;  // start index
    bool first_ = true;       // still searching 200 records at a time
    bool found_ = false;
    int countdown_;
    int progress_ = 0;
    bool done_ = false;
    bool afterShow_ = false;  // the steps after showing a record are due
    PlaybackEvent finished_;
};

// --------------------------------------------------------------- texts

// What showing one record puts into the window's readouts (Windows-1252).
struct RouteRecordTexts {
    std::string datum;   // "dd-mm-yy " (two-digit day, month and year)
    std::string tijds;   // "hh:mm:ss"
    std::string nsText;  // the hemisphere letters
    std::string ewText;
    std::string latid;  // decimal comma
    std::string longi;
    std::string koers;  // the course and the degree sign: "21\xB0"
    std::string windr;
    std::string speed;                 // the stored speed in its own unit
    std::optional<std::string> smode;  // "kmh", "mph", "kts"; empty: Speed and Smode keep their texts
};
RouteRecordTexts routeRecordTexts(const RouteRecord& r);

// The compass point of a playback course: " N " for 0..21, "NO", " O",
// "ZO", " Z", "ZW", " W", "NW" in steps of 45 degrees from 22, and " N" from
// 337 up.
const char* playbackCompassText(std::int32_t course);

// The start moment chosen with the hours-back and minutes-back bars.
struct StartMoment {
    double threshold = 0;         // seconds since 1 January 1995
    std::int64_t systemTime = 0;  // the same moment, seconds since 1970
    std::string startTimeText;    // "d-m-yyyy h:mm:ss", day padded to two digits
    std::string text7;            // the same with a two-digit hour and two blanks
};
// `nowSystemTime`: the present, seconds since 1970.
StartMoment startMoment(std::int64_t nowSystemTime, int hoursBack, int minutesBack);

}  // namespace tarvok::route
