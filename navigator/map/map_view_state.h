// The map view: geographic/pixel conversion, zoom levels, scrolling, the
// recentring on the position and the position mark, as plain state.
//
// Three coordinate spaces: geographic (degrees, north and east positive),
// bitmap pixels (0..W, 0..H) and screen pixels, in which the inner area of
// the map picture begins at column 202 and row 30 and is SW x SH pixels.
// The window paints the screen-pixel numbers relative to that origin.
// One rule, BitmapToScreen, turns a bitmap pixel into the screen pixel that
// shows it; every placement of the position mark goes through it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>
#include "common/language.h"

#include "navigator/map/map_calibration.h"

namespace tarvok::map {

inline constexpr int kScreenOriginX = 202;  // screen column of the map picture's inner area
inline constexpr int kScreenOriginY = 30;   // screen row
inline constexpr int kMaxZoomLevel = 5;

struct PixelPosition {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const PixelPosition&, const PixelPosition&) = default;
};

// A place on the bitmap in (fractional) bitmap pixels.
struct BitmapPoint {
    double x = 0, y = 0;
};

// The map's geographic to bitmap formula, linear on each axis:
//   y = (top - lat) / (top - bottom) * H + 1
//   x = (lon - left) / (right - left) * W
// The map must have an extent (top != bottom, left != right).
BitmapPoint geoToBitmap(const MapCalibration& map, double latitude, double longitude);

// Converts a geographic position to a bitmap pixel of the map, axis by axis,
// the latitude first: py = CLng(y), px = CLng(x) of geoToBitmap.
// A latitude outside bottom..top sets py to 0 and leaves px unchanged; else a
// longitude outside left..right sets px to 0. Edges count as inside. Returns
// whether the position lies on the map. A map whose top equals its bottom
// (or left its right) contains nothing.
bool GeoToPixel(const MapCalibration& map, double latitude, double longitude, PixelPosition& p);

// A rectangle of the bitmap, in bitmap pixels.
struct ClipRect {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const ClipRect&, const ClipRect&) = default;
};

// One scroll bar as the view keeps it: minimum 0, a maximum, a value always
// within range, shown or hidden.
struct ScrollBarState {
    std::int16_t value = 0;
    std::int16_t maximum = 0;
    bool visible = false;
};

// One pixel write of the position mark, in screen pixels, in drawing order.
struct MarkPixel {
    std::int32_t x, y;
    std::uint8_t r, g, b;
};

// What the view shows; the window implements it.
class MapViewOutput {
public:
    virtual ~MapViewOutput() = default;
    // Show the clip of the bitmap stretched to stretchWidth x stretchHeight.
    virtual void showClip(const ClipRect& clip, int stretchWidth, int stretchHeight) = 0;
    // Replace the position mark (an empty list removes it).
    virtual void showMark(const std::vector<MarkPixel>& pixels) = 0;
    // The zoom box text, the scroll bars or the status line Text8 changed.
    virtual void controlsChanged() = 0;
};

// The view state of the main window: zoom level, scroll bars, clip, virtual
// map size and the position P.
class MapViewState {
public:
    explicit MapViewState(MapViewOutput* output = nullptr) : output_(output) {}
    void setOutput(MapViewOutput* output) { output_ = output; }

    // The bitmap size (W, H) and the picture's inner size (SW, SH).
    void setBitmapSize(std::int32_t width, std::int32_t height);
    void setViewSize(float width, float height);
    // The picture took a new size while a map is shown: the same clip
    // stretched to it, the cross (screen pixels) moved with it.
    void resizeView(float width, float height);
    std::int32_t bitmapWidth() const { return w_; }
    std::int32_t bitmapHeight() const { return h_; }
    float viewWidth() const { return sw_; }
    float viewHeight() const { return sh_; }
    // The size in screen pixels the whole map is stretched to at zoom 0.
    std::int32_t wholeMapWidth() const;
    std::int32_t wholeMapHeight() const;

    int zoom = 0;                      // level z, 0 to 5: the navigator's one zoom level
    PixelPosition position{320, 240};  // P: bitmap or screen pixels, see the operations
    // One-shot: the next scroll change only clears it. Armed by the view's
    // own operations around their programmatic scroll changes.
    bool suppressScrollEvent = false;
    int crossSize = 0;  // Slider3

    const ScrollBarState& hScroll() const { return hScroll_; }
    const ScrollBarState& vScroll() const { return vScroll_; }
    const ClipRect& clip() const { return clip_; }
    std::int32_t virtualWidth() const { return vw_; }
    std::int32_t virtualHeight() const { return vh_; }
    std::string zoomText() const;                                 // Ztext: "Zoom=" and the level
    bool statusLineVisible() const { return !hScroll_.visible; }  // Text8

    // Applies the zoom level: zoom box, scroll bars or status line, P at
    // level 0 := the bitmap's centre, the clip size, the virtual size and the
    // scroll ranges; at levels 1 to 5 the scroll values start at P x (f-1)/f
    // (f = 2^z). Then CentreOnPosition and RefreshMapView.
    void ApplyZoom();

    // Scrolls so that P (bitmap pixels) is centred where the ranges allow,
    // shows the clip at the new scroll values, then turns P into the screen
    // pixel that shows it (BitmapToScreen).
    void CentreOnPosition();

    // Shows the clip at the scroll values stretched to CInt(SW) x CInt(SH).
    void RefreshMapView();

    // The whole bitmap stretched to the picture (after a bitmap load).
    void ShowWholeMap();

    // Scroll-bar change events from the user: the new value of the bar. The
    // clip follows, and the mark stays on the bitmap pixel it stands for.
    void HScroll3_Change(int value);
    void VScroll3_Change(int value);

    // The screen pixel that shows bitmap pixel `p` in the view as it is
    // shown: the clip (origin at the scroll values) stretched to
    // CInt(SW) x CInt(SH) from the screen origin (202, 30). Of the screen
    // pixels that show p, the one that shows p's centre:
    //   x = 202 + Int((px + 0.5 - h) * CInt(SW) / clip width), the same for y
    // with the vertical value, CInt(SH), the clip height and 30.
    PixelPosition BitmapToScreen(PixelPosition p) const;

    // P in bitmap pixels to screen pixels when the view does not follow the
    // position (level 0, or the moving map off): P := BitmapToScreen(P).
    void BitmapToView();

    // The cross at P (screen pixels): arms of 30 s + 10 pixels, the centre
    // left out, only inside the picture's inner area (strict bounds), each
    // pixel in RGB(100, 0, 100) with its upper left neighbour in
    // RGB(220, 0, 220).
    std::vector<MarkPixel> positionMark() const;
    void DrawPositionMark();

    // The bitmap pixel under the centre of the picture.
    PixelPosition viewCentreInBitmap() const;

private:
    void setValue(ScrollBarState& bar, double value);
    void setMaximum(ScrollBarState& bar, double maximum);
    // A scroll value changed (by the user: the mark keeps to its bitmap pixel).
    void scrollChanged(bool byUser = false);
    // P (bitmap pixels) becomes the screen pixel that shows it, and the
    // bitmap pixel is kept for the mark to stay on when the user scrolls.
    void placeMarkAt(PixelPosition bitmapPixel);

    MapViewOutput* output_;
    std::int32_t w_ = 640, h_ = 480;
    float sw_ = 640, sh_ = 480;
    ScrollBarState hScroll_, vScroll_;
    ClipRect clip_{0, 0, 640, 480};
    std::int32_t vw_ = 640, vh_ = 480;
    std::optional<PixelPosition> markPixel_;  // the bitmap pixel P stands for, once placed
};

// The zoom operations with their spoken confirmations and status texts.
class ZoomFeedback {
public:
    virtual ~ZoomFeedback() = default;
    virtual void showStatus(const std::string& text) = 0;      // Label6
    virtual Language language() const = 0;                     // of the status texts
    virtual bool spokenOutput() const = 0;                     // the spoken-output option is "1"
    virtual void startSound(const std::string& fileName) = 0;  // from the language sound folder
    // Waits for the end of the sound (bounded, yielding to the event queue)
    // and closes the device; events such as further zoom requests may run
    // inside it.
    virtual void waitForSoundEnd() = 0;
};

class MapZoom {
public:
    MapZoom(MapViewState& view, ZoomFeedback& feedback) : view_(view), feedback_(feedback) {}

    bool busy = false;  // a zoom operation runs; further requests are ignored

    // One level in or out, keeping the bitmap pixel at the picture's centre
    // in the middle of the view. At the limits nothing changes, but the
    // status text is still shown and cleared.
    void ZoomIn();
    void ZoomOut();
    // Back to the whole map.
    void ZoomFull();
    // Steps to targetLevel (clamped to 0..5) one level at a time; only the
    // last step is spoken.
    void ZoomToLevel(int targetLevel);

private:
    void step(int delta);

    MapViewState& view_;
    ZoomFeedback& feedback_;
    bool silent_ = false;
};

}  // namespace tarvok::map
