// The calls between the main window and the parts of the navigator that live
// in other folders, each a small interface of just what one side uses.
//
// Window to parts: the map view and the spoken announcements plug their
// implementations in with MainWindow::setMapViewCalls / setSpeechCalls;
// until one is plugged in, the window makes no such call at all (there is
// then no map to zoom and no fragment to load).
//
// Parts to window: the status line, the readouts and the window's modes,
// which the main window implements and navigator_windows.cpp hands to each
// part that uses them.
#pragma once

#include <string>

class QImage;

namespace tarvok {

// The map view inside Picture1 (navigator/map).
class MapViewCalls {
public:
    virtual ~MapViewCalls() = default;

    // Window opening: the bitmap size becomes 640 x 480 and the position
    // pixel (320, 240); the map view's busy and scroll-suppression flags are
    // cleared.
    virtual void resetForStart() = 0;
    // Window opening: the start picture is the current bitmap (its size is
    // the bitmap size) and is shown whole, stretched to the map view; then
    // ApplyZoom runs and the previous mark position becomes (1, 1). While
    // the map loaded flag is 0 the radar screen is drawn over it by the
    // window, so the map view must not cover Picture1's drawing until a map
    // is loaded.
    virtual void showStartPicture(const QImage& picture) = 0;

    // The zoom operations; ZoomToLevel zooms to the state's target zoom
    // level, which the window keeps within 0..5.
    virtual void applyZoom() = 0;
    virtual void zoomIn() = 0;
    virtual void zoomOut() = 0;
    virtual void zoomFull() = 0;
    virtual void zoomToLevel() = 0;
    // Window opening: the zoom level (held by the map view alone) becomes 0;
    // nothing is redrawn until the next ApplyZoom.
    virtual void resetZoomLevel() = 0;
};

// The spoken announcements (navigator/gps).
class SpeechCalls {
public:
    virtual ~SpeechCalls() = default;

    // LoadSpeechFragments: reads the fragments of the sound folder.
    virtual void loadSpeechFragments() = 0;
    // Reloads the spoken unit word from the given DOS path (the program
    // drive, the sound folder, "kmh"/"mph"/"kts" and ".WAV").
    virtual void reloadUnitWord(const std::string& dosPath) = 0;
    // SpeakStatus: after each shown position, assembles and starts the
    // spoken announcement of the readouts when one is due.
    virtual void speakStatus() = 0;
};

// Where the map view and the announcements plug into the main window; each
// plugs itself in when it is made and out when it goes.
class ShellPlugs {
public:
    virtual ~ShellPlugs() = default;
    virtual void setMapViewCalls(MapViewCalls* calls) = 0;
    virtual void setSpeechCalls(SpeechCalls* calls) = 0;
};

// The status line Label6 (Windows-1252 text).
class StatusLine {
public:
    virtual ~StatusLine() = default;
    virtual void setStatus(const std::string& text) = 0;
    virtual std::string status() const = 0;
};

// The readout boxes, by what they show.
enum class Readout {
    Time,              // Tijds
    Date,              // Datum
    Speed,             // Speed
    SpeedUnit,         // Smode
    Course,            // Koers
    CompassDirection,  // Windr
    NorthSouth,        // NSText
    Latitude,          // Latid
    EastWest,          // EWText
    Longitude,         // Longi
    PixelX,            // Xtext
    PixelY,            // Ytext
};

// The readouts' texts (Windows-1252). Setting a box to the text it already
// shows changes nothing.
class Readouts {
public:
    virtual ~Readouts() = default;
    virtual std::string readout(Readout box) const = 0;
    virtual void setReadout(Readout box, const std::string& text) = 0;
};

// A shown route record's or track point's time, date and position: any texts
// with tijds, datum, nsText, ewText, latid and longi.
template <class PointTexts>
void showPointReadouts(Readouts& r, const PointTexts& t) {
    r.setReadout(Readout::Time, t.tijds);
    r.setReadout(Readout::Date, t.datum);
    r.setReadout(Readout::NorthSouth, t.nsText);
    r.setReadout(Readout::EastWest, t.ewText);
    r.setReadout(Readout::Latitude, t.latid);
    r.setReadout(Readout::Longitude, t.longi);
}

// The window's modes as the parts switch them.
class WindowModes {
public:
    virtual ~WindowModes() = default;
    // STOP's first two steps: ends navigation, else route or track playback.
    virtual void stopActiveMode() = 0;
    // Ends route or track playback (flag, stop request, text, panel, sound).
    virtual void stopPlayback() = 0;
    // The route playback panel Frame10 in the instrument panel's place, or
    // the instrument panel back (unless the screen is too narrow for it).
    virtual void showPlaybackPanel() = 0;
    virtual void showInstrumentPanel() = 0;
    // Brings the window to the front when another one is active.
    virtual void bringToFront() = 0;
    // The window has been closed; the program ends.
    virtual bool programEnded() const = 0;
};

}  // namespace tarvok
