// UpdatePosition and the map view's following of the position, recorded;
// each update moves the position pixel `step` pixels east.
#pragma once

#include <vector>

#include "navigator/gps/update_position.h"

namespace tarvok::test {

struct RecordingPositionCalls : gps::PositionCalls {
    int updates = 0;
    std::int32_t step = 0;
    map::PixelPosition pixel{0, 0};
    int followed = 0;  // followPosition calls

    gps::PositionOutcome UpdatePosition() override {
        ++updates;
        pixel.x += step;
        return gps::PositionOutcome::OnMap;
    }
    map::PixelPosition positionPixel() const override { return pixel; }
    void followPosition() override { ++followed; }
};

}  // namespace tarvok::test
