// Waits until a gpsd that was just started answers on its port (it listens
// a moment after the process starts), asking at most every 100 ms.
#pragma once

#include <QElapsedTimer>
#include <QSignalSpy>

#include "platform/gpsd_probe.h"
#include "tests/support/wait_for.h"

namespace tarvok::test {

inline bool gpsdAnswers(std::uint16_t port, int milliseconds = 10000) {
    GpsdProbe probe;
    bool answered = false;
    QObject::connect(&probe, &GpsdProbe::finished, [&](bool yes) { answered = yes; });
    QElapsedTimer sinceStart;
    return waitFor(
        [&] {
            if (answered) return true;
            if (!probe.running() && (!sinceStart.isValid() || sinceStart.elapsed() >= 100)) {
                sinceStart.start();
                probe.start(QStringLiteral("localhost"), port, 1000);
            }
            return false;
        },
        milliseconds);
}

}  // namespace tarvok::test
