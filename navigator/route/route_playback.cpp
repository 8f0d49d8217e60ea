#include "navigator/route/route_playback.h"

#include <algorithm>

#include "common/clock_texts.h"
#include "common/text.h"
#include "navigator/gps/motion_display.h"

namespace tarvok::route {

RoutePlayback::RoutePlayback(RouteFileReader file, double startThreshold, int speedStep)
    : file_(std::move(file)),
      threshold_(startThreshold),
      step_(std::clamp(speedStep, 0, kMaxSpeedStep)),
      n_(file_.count()),
      countdown_(countdownStart()) {}

void RoutePlayback::setSpeedStep(int speedStep) { step_ = std::clamp(speedStep, 0, kMaxSpeedStep); }

int RoutePlayback::countdownStart() const { return step_ == 0 ? 1 : 1 << step_; }

void RoutePlayback::advance() {
    if (first_) {
        if (i_ + kCoarseStep < n_) {
            i_ += kCoarseStep;
        } else {
            // The next 200-record step would leave the file: the start
            // moment, if anywhere, lies after the record just read.
            i_ += 1;
            first_ = false;
        }
    } else {
        i_ += 1;
    }
    ++j_;
    double p = static_cast<double>(j_) / static_cast<double>(n_ - start_) * 100.0;
    progress_ = std::clamp(roundToInt32Clamped(p), 0, 100);
}

PlaybackEvent RoutePlayback::finish(PlaybackEvent::Outcome outcome) {
    done_ = true;
    PlaybackEvent e;
    e.kind = PlaybackEvent::Kind::Finished;
    e.outcome = outcome;
    e.progress = progress_;
    finished_ = e;
    return e;
}

PlaybackEvent RoutePlayback::next(std::int64_t maxReads) {
    if (done_) return finished_;
    if (afterShow_) {
        afterShow_ = false;
        if (step_ == 0) {
            progress_ = 100;
            return finish(PlaybackEvent::Outcome::SearchMode);
        }
        advance();
    }
    std::int64_t reads = 0;
    while (i_ < n_) {
        if (maxReads > 0 && reads >= maxReads) {
            PlaybackEvent e;
            e.kind = PlaybackEvent::Kind::Pending;
            e.progress = progress_;
            return e;
        }
        std::optional<RouteRecord> r = file_.read(i_);
        ++reads;
        if (!r) break;  // the file has been cut short since it was opened
        const std::int64_t index = i_;
        if (r->timeStamp < threshold_) {
            advance();
            continue;
        }
        if (first_) {
            first_ = false;
            i_ = i_ > kCoarseStep + 1 ? i_ - kCoarseStep : 1;
        }
        if (!found_) {
            found_ = true;
            start_ = i_;
            j_ = 0;
        }
        if (--countdown_ > 0) {
            advance();
            continue;
        }
        countdown_ = countdownStart();
        afterShow_ = true;
        PlaybackEvent e;
        e.kind = PlaybackEvent::Kind::Show;
        e.index = index;
        e.record = *r;
        e.progress = progress_;
        return e;
    }
    return finish(found_ ? PlaybackEvent::Outcome::SearchDone : PlaybackEvent::Outcome::NoRouteData);
}

// ------------------------------------------------------------------- texts

const char* playbackCompassText(std::int32_t c) {
    static constexpr const char* kPoints[] = {" N ", "NO", " O", "ZO", " Z", "ZW", " W", "NW", " N"};
    return kPoints[gps::compassSector(c)];
}

RouteRecordTexts routeRecordTexts(const RouteRecord& r) {
    RouteRecordTexts t;
    LocalDateTime d = routeDateTimeOf(r.timeStamp);
    auto two = [](int v) { return padLeft(integerText(v), 2); };
    t.datum = two(d.day) + "-" + two(d.month) + "-" + two(d.year % 100) + " ";
    t.tijds = two(d.hour) + ":" + two(d.minute) + ":" + two(d.second);
    t.nsText = std::string(1, r.latHemisphere);
    t.ewText = std::string(1, r.lonHemisphere);
    t.latid = decimalCommaText(r.latitude);
    t.longi = decimalCommaText(r.longitude);
    t.koers = integerText(r.course) + "\xB0";
    t.windr = playbackCompassText(r.course);
    // The stored speed is the value that was shown, in the unit stored
    // beside it; it is shown again as it stands.
    switch (r.speedUnit) {
    case '1': t.smode = "kmh"; break;
    case '2': t.smode = "mph"; break;
    case '3': t.smode = "kts"; break;
    default: break;
    }
    if (t.smode) t.speed = integerText(r.speed);
    return t;
}

StartMoment startMoment(std::int64_t nowSystemTime, int hoursBack, int minutesBack) {
    const std::int64_t offset = (static_cast<std::int64_t>(hoursBack) * 60 + minutesBack) * 60;
    StartMoment m;
    m.threshold = static_cast<double>(routeSecondsFromSystemTime(nowSystemTime) - offset);
    m.systemTime = nowSystemTime - offset;
    LocalDateTime t = routeDateTimeOf(m.threshold);
    const std::string date = dateText(t.day, t.month, t.year);
    m.startTimeText = date + " " + timeOfDayText(t.hour, t.minute, t.second);
    m.text7 = date + " " + clockText(t.hour, t.minute, t.second) + "  ";
    return m;
}

}  // namespace tarvok::route
