#include "window_layout.h"

#include <algorithm>
#include <cmath>

namespace tarvok {

namespace {
// Half the difference, as a picture box places it (rounded down, also when
// the element is larger than its container).
std::int32_t centred(std::int32_t container, std::int32_t element) {
    return static_cast<std::int32_t>(std::floor((container - element) / 2.0));
}
}  // namespace

WindowLayout computeWindowLayout(std::int32_t screenWidth, std::int32_t screenHeight) {
    using namespace design;
    WindowLayout l;
    l.windowWidth = screenWidth;
    l.windowHeight = screenHeight - 28;
    l.picture2Visible = screenWidth != 640;

    l.picture1 = {kMapViewLeft, kMapViewTop, screenWidth - 230, screenHeight - 85};
    l.innerWidth = l.picture1.width - 2 * kMapViewFrame;
    l.innerHeight = l.picture1.height - 2 * kMapViewFrame;

    l.hScroll3 = {kMapViewLeft, l.picture1.height + 8, l.picture1.width, kScrollBarExtent};
    l.vScroll3 = {screenWidth - 32, kMapViewTop, kScrollBarExtent, l.picture1.height};

    for (int i = 0; i < 3; ++i) {
        std::int32_t d = kShapeDiameter[i];
        l.shape[i] = {centred(l.innerWidth, d), centred(l.innerHeight, d), d, d};
    }
    l.textRBLeft = l.picture1.width - 130;
    l.textLOTop = l.picture1.height - 17;
    l.text8Top = l.picture1.height + 20;
    return l;
}

WindowLayout windowLayoutForSize(std::int32_t windowWidth, std::int32_t windowHeight, bool picture2Visible) {
    WindowLayout l = computeWindowLayout(windowWidth, windowHeight + 28);
    l.picture2Visible = picture2Visible;
    return l;
}

WindowLayout smallestWindowLayout(bool picture2Visible) {
    using namespace design;
    // The log, a gap of 4 and the panel, 4 from the window's foot; without
    // the panel the window of the smallest screen.
    const std::int32_t least = kLogTop + kLogLeast + 4 + kInstrumentPanelHeight + 4;
    return windowLayoutForSize(640, picture2Visible ? std::max(least, 452) : 452, picture2Visible);
}

}  // namespace tarvok
