// The screen size both programs lay their windows out from ("system metrics
// 0 and 1"): the primary screen's size in pixels, 800 x 600 without one.
#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QSize>

namespace tarvok {

inline QSize primaryScreenSize() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->size() : QSize(800, 600);
}

}  // namespace tarvok
