// Route playback in the navigator's main window: the route button Command1,
// the playback panel Frame10 with PLAY (Play1), the start moment (Text7, the
// hours-back and minutes-back bars HScroll1 and HScroll2), the speed slider
// Slider1 and the progress bar ProgressBar1.
//
// PLAY walks the route file from the event loop (PacedPlayback, as track
// import): a shown record at most every 100 ms, so a replay can be watched,
// and STOP, the bars, the keys and the other buttons keep working in the
// pauses; they end the playback only through the stop request. Search mode
// (speed step 0) shows its record at once.
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <memory>
#include <string>

#include "navigator/route/paced_playback.h"
#include "navigator/route/route_playback.h"
#include "navigator/route/track/track_window.h"
#include "platform/dos_path.h"

namespace tarvok {

class SoundPlayback;

class RouteWindowPlayback : public QObject, private PlaybackSteps {
    Q_OBJECT
public:
    // What route playback uses of the main window.
    struct Links {
        const MainWindowControls& controls;  // the route button and the playback panel's controls
        NavigatorState& state;               // the flags, the stop request, the route source
        StatusLine& status;
        Readouts& readouts;
        WindowModes& modes;  // the panels, the stop of the playback
        SoundPlayback& sound;
        const DosPaths& paths;
    };
    // `tracks`: the track import that the route button starts when the
    // route source setting is not "0" (Garmin files). `position`:
    // UpdatePosition and the map view's following of the position; without
    // it the records fill the readouts only.
    RouteWindowPlayback(Links links, TrackWindowImport* tracks, gps::PositionCalls* position,
                        const PlaybackClock& clock = steadyPlaybackClock(), QObject* parent = nullptr);
    ~RouteWindowPlayback() override;

    // The route button: ends a playback that is offered or running, else
    // offers playback (route source "0") or starts track import.
    void Command1_Click();
    // PLAY: PlayRoute. Starts the walk from the beginning of the file with
    // the current start threshold and speed step and returns; the records
    // follow from the event loop.
    void Play1_Click();
    // The start-moment bars moved.
    void HScroll1_Change();
    void HScroll2_Change();

    bool playing() const { return walk_ != nullptr; }
    // Seconds since 1 January 1995; 0 until a start-moment bar first moved.
    double startThreshold() const { return threshold_; }

    // How long "  Geen Routedata!" and "  Zoeken klaar!" stay in Text7
    // (2 seconds; tests shorten it).
    static void setEndTextDuration(std::chrono::milliseconds d);

signals:
    // A record has been shown (its number in the file).
    void recordShown(std::int64_t index);
    // PlayRoute has ended: the end of the file, search mode's one record, or
    // the stop request.
    void finished();

private:
    // PlaybackSteps
    bool stopRequested() const override;
    void stopped() override;
    Read readOn() override;
    void showDue() override { showRecord(due_); }
    bool paced() const override;

    void showRecord(const route::PlaybackEvent& e);
    void endWithText(const char* text);
    void endTextElapsed();
    void closePlayback();
    void abandon();
    void setText7(const std::string& text);
    void setProgress(int value);

    Links links_;
    TrackWindowImport* tracks_;
    gps::PositionCalls* position_;
    double threshold_ = 0;
    std::string startTimeText_;
    std::string restoreText7_;
    std::unique_ptr<route::RoutePlayback> walk_;
    route::PlaybackEvent due_;  // the record readOn found
    PacedPlayback driver_;
    QTimer endText_;
};

}  // namespace tarvok
