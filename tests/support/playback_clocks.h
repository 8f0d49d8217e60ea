// Clocks for the pace of route playback and track import.
#pragma once

#include <chrono>

#include "navigator/route/playback_pace.h"

namespace tarvok::test {

// A clock the test moves by hand.
class ManualPlaybackClock : public PlaybackClock {
public:
    std::chrono::steady_clock::time_point now() const override { return now_; }
    void advance(std::chrono::milliseconds d) { now_ += d; }

private:
    std::chrono::steady_clock::time_point now_{};
};

// A clock on which every reading lies a minute after the one before, so the
// pace never pauses: for tests of what is shown rather than when.
class UnpacedPlaybackClock : public PlaybackClock {
public:
    std::chrono::steady_clock::time_point now() const override { return now_ += std::chrono::minutes(1); }

private:
    mutable std::chrono::steady_clock::time_point now_{};
};

}  // namespace tarvok::test
