// Runs the event loop until a condition holds or a bound has passed, without
// spinning a core while nothing happens.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace tarvok::test {

template <class F>
bool waitFor(F done, int milliseconds = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > milliseconds) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

}  // namespace tarvok::test
