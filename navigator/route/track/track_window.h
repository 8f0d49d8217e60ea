// Track import in the navigator's main window: the window's readouts,
// status line, flags and panels behind the import's host calls, and
// rou1_Change. The position on the map is placed through the position calls
// (UpdatePosition, the map view following the position); without them the
// points fill the readouts only.
#pragma once

#include <QObject>

#include "navigator/route/track/track_playback.h"
#include "navigator/shell/main_window_controls.h"
#include "navigator/shell/shell_calls.h"

namespace tarvok {

struct NavigatorState;

class TrackWindowImport : public QObject, private TrackPlaybackHost {
    Q_OBJECT
public:
    // What track import uses of the main window.
    struct Links {
        const MainWindowControls& controls;  // the thinning slider rou1
        NavigatorState& state;               // the flags, the stop request, the settings
        StatusLine& status;
        Readouts& readouts;
        WindowModes& modes;  // the instrument panel, the window to the front
        Dialogs& dialogs;
    };
    TrackWindowImport(Links links, gps::PositionCalls* position, const PlaybackClock& clock = steadyPlaybackClock(),
                      QObject* parent = nullptr);

    // Runs the import (called by the route button when the route source
    // setting is "1").
    void ImportTrack() { playback_.ImportTrack(); }
    // The thinning slider moved: its value on the status line.
    void rou1_Change(int value);

    TrackPlayback& playback() { return playback_; }

private:
    void setPlaybackActive(bool on) override;
    bool playbackActive() const override;
    void setNavigationActive(bool on) override;
    void setStopRequest(bool on) override;
    bool stopRequest() const override;
    Language language() const override;
    char speedUnit() const override;
    int hourOffset() const override;
    int thinning() const override;
    void setStatus(const std::string& text) override;
    void showInstrumentPanel() override;
    void showPoint(const TrackPointTexts& point) override;
    void showCourse(const TrackCourseTexts& course) override;
    void showSpeed(const std::string& speed, const std::string* smode) override;
    void setKeyPreview(bool on) override;
    void raiseWindow() override;

    Links links_;
    TrackPlayback playback_;
};

}  // namespace tarvok
