// The calls the main window makes into the parts of the navigator that live
// in other folders. The map view and the spoken announcements plug their
// implementations in with MainWindow::setMapViewCalls / setSpeechCalls;
// until one is plugged in, the window makes no such call at all (there is
// then no map to zoom and no fragment to load).
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

}  // namespace tarvok
