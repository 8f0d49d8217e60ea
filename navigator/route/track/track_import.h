// Track import as a step function: each step takes one line of a text track
// (or one point of a GPX track) and says whether a point is to be shown, so
// that a window can drive it from its event loop, one step at a time, and a
// track of any length never holds the window up.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "navigator/route/track/track_lines.h"
#include "navigator/route/track/track_point.h"
#include "platform/regular_file.h"

namespace tarvok {

// Where the lines of a track come from.
class TrackSource {
public:
    virtual ~TrackSource() = default;
    // Moves to the next line (or point); false at the end of the track or
    // when it cannot be read further (then error() says why).
    virtual bool advance() = 0;
    // The point of the current line, if the line is a point line.
    virtual std::optional<TrackPointTexts> point() = 0;
    // Empty unless reading failed; the reason in plain words otherwise.
    virtual std::string error() const = 0;
};

// The lines of a "*.trk" or "*.txt" file, from any stream.
class TextTrackSource : public TrackSource {
public:
    TextTrackSource(std::istream& in, TrackFormat format) : lines_(in), format_(format) {}
    bool advance() override { return lines_.next(); }
    std::optional<TrackPointTexts> point() override { return trackPointFromLine(lines_.line(), format_); }
    std::string error() const override;

private:
    TrackLineReader lines_;
    TrackFormat format_;
};

// A text track file opened from disk (native path), read in pieces while the
// import runs.
class TextTrackFile : public TrackSource {
public:
    // Empty when the file cannot be opened; `error` (when given) then holds
    // the reason, an errno value or kNotAFile.
    static std::unique_ptr<TextTrackFile> open(const std::string& nativePath, TrackFormat format, int* error = nullptr);
    bool advance() override { return source_.advance(); }
    std::optional<TrackPointTexts> point() override { return source_.point(); }
    std::string error() const override { return source_.error(); }

private:
    TextTrackFile(RegularFile file, TrackFormat format) : file_(std::move(file)), source_(file_, format) {}
    FileInputStream file_;
    TextTrackSource source_;
};

struct TrackStep {
    enum class Kind {
        Skipped,  // a line that is not shown (thinned out, or not a point)
        Point,    // a point to show: `point` holds its texts
        End,      // the whole track has been read
        Error,    // the track could not be read further: `error` says why
    };
    Kind kind = Kind::End;
    TrackPointTexts point;
    std::string error;
};

class TrackImport {
public:
    explicit TrackImport(std::unique_ptr<TrackSource> source) : source_(std::move(source)) {}

    // One line. `thinning` is the value of rou1 at this moment: every line
    // is counted, and only every thinning-th line (each one for 0 and 1) is
    // looked at as a possible point. After End or Error every further step
    // gives the same again.
    TrackStep step(int thinning);

private:
    std::unique_ptr<TrackSource> source_;
    int counter_ = 0;  // lines since the last one looked at
    std::optional<TrackStep> finished_;
};

}  // namespace tarvok
