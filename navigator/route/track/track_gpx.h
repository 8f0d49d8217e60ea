// GPX 1.0/1.1 tracks (the trkpt points of every trk and trkseg, in file
// order) as a TrackSource, read in pieces with Qt's streaming XML reader so
// that a track of any size needs little memory. Elevation and everything
// else are ignored.
#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "navigator/route/track/track_import.h"

namespace tarvok {

// The texts of a GPX point: lat and lon as written in the file (decimal
// degrees, sign for the hemisphere) and the ISO 8601 time ("2024-05-01T
// 12:34:56Z", fractions and zone offsets allowed; may be empty). A time
// with a zone (Z or +hh:mm) is UTC-based and is shown shifted by
// `hourOffset` hours, as a GPS receiver's time is; a time without a zone is
// taken as local time and shown as it stands. Tijds is "hh:mm:ss", Datum
// "dd-mm-yyyy"; a missing or unreadable time leaves both empty.
TrackPointTexts gpxPointTexts(std::string_view lat, std::string_view lon, std::string_view time, int hourOffset);

class GpxTrackSource : public TrackSource {
public:
    GpxTrackSource(std::istream& in, int hourOffset);
    ~GpxTrackSource() override;

    bool advance() override;
    std::optional<TrackPointTexts> point() override;
    std::string error() const override;

private:
    struct Reader;
    std::unique_ptr<Reader> reader_;
};

// A track file opened from disk (native path) in the format its name gives
// (`fileName`, the name as chosen; its ending decides). Empty when the file
// cannot be opened; `error` (when given) then holds the reason, an errno
// value or kNotAFile (a pipe, a device, a folder: refused without waiting).
std::unique_ptr<TrackSource> openTrackFile(const std::string& nativePath, std::string_view fileName, int hourOffset,
                                           int* error = nullptr);

}  // namespace tarvok
