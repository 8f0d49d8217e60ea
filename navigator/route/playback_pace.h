// The pace of route playback and track import: a shown record or track point
// at most every kShowInterval, so a replay can be watched; the speed step
// still decides how many records lie behind each shown one.
#pragma once

#include <chrono>
#include <optional>

namespace tarvok {

// Where the pace reads the time; the steady clock in the program, a clock
// the test moves by hand in tests.
class PlaybackClock {
public:
    virtual ~PlaybackClock() = default;
    virtual std::chrono::steady_clock::time_point now() const = 0;
};

// The monotonic clock of the system.
const PlaybackClock& steadyPlaybackClock();

class PlaybackPace {
public:
    static constexpr std::chrono::milliseconds kShowInterval{100};

    explicit PlaybackPace(const PlaybackClock& clock, std::chrono::milliseconds interval = kShowInterval)
        : clock_(clock), interval_(interval) {}

    // How long the item ready now must wait before it may be shown, in whole
    // milliseconds rounded up: zero for the first item of a playback and once
    // an interval has passed since the last one was shown.
    std::chrono::milliseconds waitBeforeShowing() const;
    // An item has just been shown (its showing is over).
    void shown() { lastShown_ = clock_.now(); }
    // A new playback: its first item shows at once.
    void restart() { lastShown_.reset(); }

private:
    const PlaybackClock& clock_;
    std::chrono::milliseconds interval_;
    std::optional<std::chrono::steady_clock::time_point> lastShown_;
};

}  // namespace tarvok
