// Runs route playback and track import from the event loop, in one shape:
// the driver pulls the walk's steps, shows at most one item per turn and
// keeps the pace between shown items with a single-shot timer, so the window
// draws and answers (STOP, the bars, the keys) between items and no core is
// kept busy during the pauses.
#pragma once

#include <QObject>
#include <QTimer>

#include "navigator/route/playback_pace.h"

namespace tarvok {

// What a playback gives the driver.
class PlaybackSteps {
public:
    enum class Read {
        Pending,   // read a little further, nothing to show yet
        Due,       // an item is ready to show
        Finished,  // the walk is over; the steps have ended the playback
    };
    virtual ~PlaybackSteps() = default;
    // The stop request is up: the playback ends without showing more.
    virtual bool stopRequested() const = 0;
    // The driver has ended the playback on the stop request.
    virtual void stopped() = 0;
    // Reads a bounded piece of the walk.
    virtual Read readOn() = 0;
    // Shows the item the last readOn found.
    virtual void showDue() = 0;
    // Whether shown items keep the pace; otherwise they show at once (search
    // mode).
    virtual bool paced() const = 0;
};

class PacedPlayback : public QObject {
    Q_OBJECT
public:
    // A turn of the event loop reads for at most this long before it yields,
    // so a long stretch of skipped records never holds the window.
    static constexpr std::chrono::milliseconds kReadBudget{4};

    explicit PacedPlayback(PlaybackSteps& steps, const PlaybackClock& clock = steadyPlaybackClock(),
                           QObject* parent = nullptr);

    // Starts from the walk's beginning; its first item shows at once.
    void start();
    // Ends without showing more (the steps say whatever is to be said).
    void stop();
    bool running() const { return running_; }

private:
    void turn();
    void next(std::chrono::milliseconds wait);

    PlaybackSteps& steps_;
    PlaybackPace pace_;
    QTimer timer_;
    unsigned run_ = 0;  // counts starts
    bool running_ = false;
    bool due_ = false;
};

}  // namespace tarvok
