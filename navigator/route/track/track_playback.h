// ImportTrack: the user picks a track file and its points are shown one
// after the other on the map, at most one every 100 ms, driven by the event
// loop (PacedPlayback) so that STOP, the keys and the buttons keep working
// while a track of any length plays.
#pragma once

#include <QObject>
#include <memory>
#include <string>
#include "common/language.h"

#include "navigator/gps/update_position.h"
#include "navigator/route/paced_playback.h"
#include "navigator/route/track/track_import.h"
#include "navigator/route/track/track_motion.h"

namespace tarvok {

class Dialogs;

// What the import needs from the main window and the navigator's shared state.
class TrackPlaybackHost {
public:
    virtual ~TrackPlaybackHost() = default;

    // The shared mode flags and the stop request.
    virtual void setPlaybackActive(bool on) = 0;
    virtual bool playbackActive() const = 0;
    virtual void setNavigationActive(bool on) = 0;
    virtual void setStopRequest(bool on) = 0;
    virtual bool stopRequest() const = 0;

    // Settings: the language, the speed unit ('1'..'3'), the
    // hour offset to UTC; the value of the slider rou1 at this moment.
    virtual Language language() const = 0;
    virtual char speedUnit() const = 0;
    virtual int hourOffset() const = 0;
    virtual int thinning() const = 0;

    virtual void setStatus(const std::string& text) = 0;  // Label6
    // Hides the route playback panel Frame10 and shows Picture2.
    virtual void showInstrumentPanel() = 0;

    // Fills Tijds, Datum, Latid, Longi, NSText and EWText.
    virtual void showPoint(const TrackPointTexts& point) = 0;
    // Koers and Windr, then Speed (and Smode when given).
    virtual void showCourse(const TrackCourseTexts& course) = 0;
    virtual void showSpeed(const std::string& speed, const std::string* smode) = 0;
    virtual void setKeyPreview(bool on) = 0;
    virtual void raiseWindow() = 0;
};

class TrackPlayback : public QObject, private PlaybackSteps {
    Q_OBJECT
public:
    // `position`: UpdatePosition and the map view following the position
    // pixel; without it the points fill the readouts only.
    TrackPlayback(TrackPlaybackHost& host, gps::PositionCalls* position, Dialogs& dialogs,
                  const PlaybackClock& clock = steadyPlaybackClock(), QObject* parent = nullptr);

    // ImportTrack: asks for the file, then starts showing its points and
    // returns; the points follow from the event loop until the end of the
    // file, the stop request or a read error.
    void ImportTrack();

    bool running() const { return import_ != nullptr; }
    // The state kept between points for the program run.
    const TrackMotion& motion() const { return motion_; }

signals:
    // The import has ended (end of file, stop request or error).
    void finished();

private:
    // PlaybackSteps
    bool stopRequested() const override;
    void stopped() override;
    Read readOn() override;
    void showDue() override;
    bool paced() const override { return true; }

    void showPoint(const TrackPointTexts& point);
    void stopImport();
    void finish();
    void errorExit(const std::vector<std::string>& lines);

    TrackPlaybackHost& host_;
    gps::PositionCalls* position_;
    Dialogs& dialogs_;
    TrackMotion motion_;
    std::unique_ptr<TrackImport> import_;
    TrackPointTexts due_;  // the point readOn found
    std::string folder_;   // where the file dialog opens: the last track's folder
    PacedPlayback driver_;
};

}  // namespace tarvok
