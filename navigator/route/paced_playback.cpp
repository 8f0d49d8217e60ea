#include "navigator/route/paced_playback.h"

#include <QElapsedTimer>

namespace tarvok {

PacedPlayback::PacedPlayback(PlaybackSteps& steps, const PlaybackClock& clock, QObject* parent)
    : QObject(parent), steps_(steps), pace_(clock) {
    timer_.setSingleShot(true);
    // A coarse timer may fire a little early; the pause is a lower bound.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PacedPlayback::turn);
}

void PacedPlayback::start() {
    stop();
    pace_.restart();
    ++run_;
    running_ = true;
    next(std::chrono::milliseconds(0));
}

void PacedPlayback::stop() {
    timer_.stop();
    running_ = false;
    due_ = false;
}

void PacedPlayback::next(std::chrono::milliseconds wait) {
    if (running_) timer_.start(wait);
}

void PacedPlayback::turn() {
    if (!running_) return;
    // The steps may end the playback or start a new one while they run.
    const unsigned run = run_;
    if (steps_.stopRequested()) {
        stop();
        steps_.stopped();
        return;
    }
    if (!due_) {
        QElapsedTimer budget;
        budget.start();
        PlaybackSteps::Read r;
        do { r = steps_.readOn(); } while (r == PlaybackSteps::Read::Pending && budget.elapsed() < kReadBudget.count());
        if (run != run_) return;
        switch (r) {
        case PlaybackSteps::Read::Pending: next(std::chrono::milliseconds(0)); return;
        case PlaybackSteps::Read::Finished: stop(); return;
        case PlaybackSteps::Read::Due: due_ = true; break;
        }
    }
    if (steps_.paced()) {
        const std::chrono::milliseconds wait = pace_.waitBeforeShowing();
        if (wait.count() > 0) {
            // The pause: the window is idle until the timer fires.
            next(wait);
            return;
        }
    }
    due_ = false;
    // Showing may process events (a message, the map search), where the
    // playback can be stopped or started again.
    steps_.showDue();
    if (run != run_) return;
    pace_.shown();
    next(std::chrono::milliseconds(0));
}

}  // namespace tarvok
