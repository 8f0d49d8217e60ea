// The main window's layout as a pure function of the screen size.
//
// Only the elements below are computed at run time; everything else keeps
// its designed place and size. All sizes are screen pixels; positions are
// relative to the window (the map view's children: relative to the map
// view's inner area).
#pragma once

#include <cstdint>

namespace tarvok {

struct LayoutRect {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    bool operator==(const LayoutRect&) const = default;
};

// Designed places the computed rules hang from.
namespace design {
inline constexpr std::int32_t kMapViewLeft = 198;  // left of the map view Picture1
inline constexpr std::int32_t kMapViewTop = 2;
inline constexpr std::int32_t kMapViewFrame = 2;  // frame width around its inner area
inline constexpr std::int32_t kScrollBarExtent = 16;
inline constexpr std::int32_t kCornerBoxWidth = 130;  // TextLB, TextRB, TextLO, TextRO
inline constexpr std::int32_t kCornerBoxHeight = 17;
inline constexpr std::int32_t kText8Height = 20;
// The left column: the reception log from kLogTop down, at least kLogLeast
// high, above the instrument panel (its dials and the fix status line).
inline constexpr std::int32_t kLogTop = 346;
inline constexpr std::int32_t kLogLeast = 20;
inline constexpr std::int32_t kInstrumentPanelHeight = 102;
// The radar circles Shape1, Shape2, Shape3 (diameters).
inline constexpr std::int32_t kShapeDiameter[3] = {364, 404, 424};
}  // namespace design

struct WindowLayout {
    std::int32_t windowWidth = 0, windowHeight = 0;
    bool picture2Visible = true;                   // instrument panel
    LayoutRect picture1;                           // map view, outer rectangle
    std::int32_t innerWidth = 0, innerHeight = 0;  // its inner (drawing) area
    LayoutRect hScroll3, vScroll3;
    LayoutRect shape[3];          // in the map view's inner area
    std::int32_t textRBLeft = 0;  // TextRB and TextRO
    std::int32_t textLOTop = 0;   // TextLO and TextRO
    std::int32_t text8Top = 0;
};

// Window: screen width x (screen height - 28). Instrument panel hidden at
// width 640. Map view: (width - 230) x (height - 85). HScroll3 below the map
// view (top = map view height + 8, as wide as it), VScroll3 at the right
// (left = width - 32, as high as the map view). The shapes centred in the
// inner area, the right corner boxes 130 from the map view's right, the lower
// ones 17 above its bottom, Text8 at map view height + 20.
WindowLayout computeWindowLayout(std::int32_t screenWidth, std::int32_t screenHeight);

// The same rules from the window's own size (after the user resized it),
// the instrument panel shown or hidden as decided at start.
WindowLayout windowLayoutForSize(std::int32_t windowWidth, std::int32_t windowHeight, bool picture2Visible);

// The smallest window that keeps the left column whole (buttons, readouts,
// sliders, a few lines of the log and the instrument panel when shown): the
// window of a 640 x 480 screen, with room for the panel when it is shown.
WindowLayout smallestWindowLayout(bool picture2Visible);

}  // namespace tarvok
