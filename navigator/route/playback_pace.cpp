#include "navigator/route/playback_pace.h"

namespace tarvok {

namespace {
class SteadyClock : public PlaybackClock {
public:
    std::chrono::steady_clock::time_point now() const override { return std::chrono::steady_clock::now(); }
};
}  // namespace

const PlaybackClock& steadyPlaybackClock() {
    static const SteadyClock clock;
    return clock;
}

std::chrono::milliseconds PlaybackPace::waitBeforeShowing() const {
    if (!lastShown_) return std::chrono::milliseconds(0);
    const auto left = *lastShown_ + interval_ - clock_.now();
    if (left <= std::chrono::steady_clock::duration::zero()) return std::chrono::milliseconds(0);
    return std::chrono::ceil<std::chrono::milliseconds>(left);
}

}  // namespace tarvok
