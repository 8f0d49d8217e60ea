// Track import in the navigator's main window: the window's text boxes,
// status line, flags and dialogs behind the import's host calls, and
// rou1_Change. The position on the map is placed through calls that the
// GPS display (UpdatePosition) and the map view (following the position,
// the position mark) plug in; until they are plugged in the points fill the
// readouts only.
#pragma once

#include <QObject>
#include <functional>

#include "navigator/route/track/track_playback.h"

namespace tarvok {

class MainWindow;

struct TrackPositionCalls {
    // UpdatePosition: the shown latitude and longitude onto the map.
    std::function<void()> updatePosition;
    // The position pixel UpdatePosition has set.
    std::function<void(std::int32_t* x, std::int32_t* y)> positionPixel;
    // With the moving-map box ticked and a zoom level above 0 CentreOnPosition,
    // else the bitmap-to-view conversion; then DrawPositionMark.
    std::function<void()> followPosition;
};

class TrackWindowImport : public QObject, private TrackPlaybackHost {
    Q_OBJECT
public:
    explicit TrackWindowImport(MainWindow& window, TrackPositionCalls calls = {});

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
    void updatePosition() override;
    void positionPixel(std::int32_t* x, std::int32_t* y) const override;
    void showCourse(const TrackCourseTexts& course) override;
    void showSpeed(const std::string& speed, const std::string* smode) override;
    void setKeyPreview(bool on) override;
    void followPosition() override;
    void raiseWindow() override;

    void setBox(const char* name, const std::string& text);

    MainWindow& window_;
    TrackPositionCalls calls_;
    TrackPlayback playback_;
};

}  // namespace tarvok
