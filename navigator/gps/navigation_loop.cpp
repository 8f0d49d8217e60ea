#include "navigator/gps/navigation_loop.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "common/text.h"
#include "navigator/gps/navigation_texts.h"
#include "navigator/gps/position_display.h"
#include "navigator/route/route_file.h"
#include "navigator/shell/navigator_state.h"
#include "navigator/shell/shell_texts.h"
#include "navigator/shell/sound_playback.h"
#include "platform/dialogs.h"

namespace tarvok::gps {

namespace {

std::chrono::milliseconds silenceLimit{5000};

QString logForDisplay(std::string_view cp1252) {
    std::string shown;
    shown.reserve(cp1252.size());
    for (std::size_t i = 0; i < cp1252.size(); ++i)
        if (!(cp1252[i] == '\r' && i + 1 < cp1252.size() && cp1252[i + 1] == '\n')) shown.push_back(cp1252[i]);
    return QString::fromStdString(cp1252ToUtf8(shown));
}

}  // namespace

void NavigationLoop::setSilenceLimit(std::chrono::milliseconds limit) { silenceLimit = limit; }

NavigationLoop::NavigationLoop(Links links, PositionDisplay& display, QObject* parent)
    : QObject(parent), links_(links), display_(display) {
    setObjectName(QStringLiteral("NavigationLoop"));
    stopCheck_.setInterval(kStopCheckMilliseconds);
    connect(&stopCheck_, &QTimer::timeout, this, &NavigationLoop::checkStop);
    silence_.setSingleShot(true);
    connect(&silence_, &QTimer::timeout, this, &NavigationLoop::silenceElapsed);
    connect(&port_, &GpsPort::opened, this, &NavigationLoop::portOpened);
    connect(&port_, &GpsPort::readyRead, this, &NavigationLoop::received);
    connect(&port_, &GpsPort::failed, this, &NavigationLoop::portFailed);
    connect(links.controls.navigate, &QPushButton::clicked, this, &NavigationLoop::Navig1_click);
}

void NavigationLoop::programEnding() {
    ending_ = true;
    if (state_ != State::Idle) close();
    keepRoutePointsAtExit();
}

NavigationLoop::~NavigationLoop() {
    port_.disconnect(this);
    port_.close();
    // Gone without the window's end (the application quit first): the
    // collected positions are kept all the same if they can be.
    if (!routePoints_.empty())
        route::appendRouteBlock(links_.paths, route::routeFilePath(links_.state.programFolder()), routePoints_);
}

void NavigationLoop::Navig1_click() {
    NavigatorState& s = links_.state;
    if (s.navigationActive == 1) {
        // The window's stop: flag cleared, stop request raised, status text
        // and "Navig2.WAV". The loop closes on its next look at the request.
        links_.modes.stopActiveMode();
        checkStop();
        return;
    }
    // Stopped by another mode (route playback clears the flag) but not yet
    // closed: close now, then start afresh.
    if (state_ == State::Starting || state_ == State::Receiving) close();
    if (state_ == State::Idle) start();
}

void NavigationLoop::start() {
    NavigatorState& s = links_.state;
    s.navigationActive = 1;
    state_ = State::Starting;
    failure_.clear();
    target_ = PortTarget{};
    fixes_ = 0;
    routeError_.clear();
    routeErrorShown_ = false;
    links_.status.setStatus(navigationStatusText(
        routeUnsaved_ ? NavigationStatus::ActiveRouteNotSaved : NavigationStatus::Active, s.language()));
    s.currentSoundName = "Navig1.WAV";
    links_.sound.playSound();
    sendKeystrokes();
    // A stop while the start sound played (or the window closing) ends the
    // start here, before the port is opened.
    if (state_ != State::Starting) return;
    if (s.navigationActive != 1 || links_.modes.programEnded()) {
        finishClosing();
        return;
    }
    s.stopRequest = false;
    const std::string lineText =
        s.settings.baudRate + "n" + std::string(1, s.settings.dataBits) + std::string(1, s.settings.parity);
    reception_.reset();
    showFixStatus();
    display_.startTrail();
    log_.open();
    showLog(true);
    stopCheck_.start();

    const int portNumber = static_cast<int>(numericValue(std::string_view(&s.settings.gpsPort, 1)));
    std::optional<LineSettings> line = parseLineSettings(lineText);
    if (!line || portNumber < 1) {
        portFailed(QString::fromStdString(unusablePortSettingsText(s.language(), lineText, s.settings.gpsPort)));
        return;
    }
    target_ = resolveComPort(links_.paths.prefix(), portNumber);
    line_ = *line;
    port_.open(target_, *line);
}

void NavigationLoop::sendKeystrokes() {
    // "%KL": Alt+K, then L, to the focused control; sent, not posted, so
    // they have been handled when this returns.
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != &links_.window) target = &links_.window;
    QPointer<QWidget> guard(target);
    auto send = [&](int key, Qt::KeyboardModifiers modifiers, const QString& text) {
        if (!guard) return;
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(guard, &press);
        if (!guard) return;
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QCoreApplication::sendEvent(guard, &release);
    };
    send(Qt::Key_K, Qt::AltModifier, QStringLiteral("k"));
    send(Qt::Key_L, Qt::ShiftModifier, QStringLiteral("L"));
}

void NavigationLoop::portOpened() {
    if (state_ != State::Starting) return;
    state_ = State::Receiving;
    const bool serial = target_.kind == PortTarget::Kind::Serial;
    log_.portOpened("COM" + std::string(1, links_.state.settings.gpsPort), utf8ToCp1252(target_.describe()),
                    serial ? lineSettingsText(line_) : "");
    showLog();
    silence_.start(silenceLimit);
    checkStop();
}

void NavigationLoop::sentencesArrived() {
    if (state_ != State::Receiving) return;
    silence_.start(silenceLimit);
    if (!silent_) return;
    silent_ = false;
    showActiveStatus();
}

void NavigationLoop::silenceElapsed() {
    if (state_ != State::Receiving || links_.state.stopRequest) return;
    silent_ = true;
    links_.status.setStatus(navigationStatusText(NavigationStatus::NoData, links_.state.language()));
}

void NavigationLoop::showActiveStatus() {
    // Until a block is written, the status keeps saying the route is not saved.
    links_.status.setStatus(navigationStatusText(
        routeUnsaved_ ? NavigationStatus::ActiveRouteNotSaved : NavigationStatus::Active, links_.state.language()));
}

void NavigationLoop::received() {
    if (state_ != State::Starting && state_ != State::Receiving) {
        port_.readAll();
        return;
    }
    // Showing a fix may wait in a nested event loop (a spoken announcement,
    // the map search, a message box), where the next read arrives: it is
    // taken when the fixes before it have been shown, so positions stay in
    // the order received. (The port does not announce it again meanwhile,
    // hence the look at what is waiting.)
    if (receiving_) {
        readAgain_ = true;
        return;
    }
    receiving_ = true;
    do {
        readAgain_ = false;
        if (links_.state.stopRequest) break;
        const QByteArray chunk = port_.readAll();
        ReceivedSentences got = reception_.receive(std::string_view(chunk.constData(), chunk.size()), &log_);
        if (got.lines > 0) showLog();
        if (got.fixStatusChanged) showFixStatus();
        if (got.sentences > 0) sentencesArrived();
        for (const RmcFields& fix : got.fixes) {
            showFix(fix);
            // What runs per fix may process events: a stop, the window closing.
            if (state_ != State::Starting && state_ != State::Receiving) break;
            if (links_.state.stopRequest) break;
        }
    } while ((readAgain_ || port_.bytesAvailable() > 0) && (state_ == State::Starting || state_ == State::Receiving));
    receiving_ = false;
    checkStop();
}

void NavigationLoop::showFix(const RmcFields& fields) {
    NavigatorState& s = links_.state;
    display_.showFix(fields);
    display_.UpdatePosition();
    s.keyPreview = true;
    showActiveStatus();
    display_.followPosition();
    links_.modes.bringToFront();
    ++fixes_;
    if (s.settings.recordRoute == '1' && display_.routePointFilled()) recordRoutePoint();
    links_.speech.speakStatus();
}

void NavigationLoop::recordRoutePoint() {
    routePoints_.push_back(display_.currentRoutePoint());
    if (routePoints_.size() % kRouteBlockPoints != 0) return;
    writeRoutePoints();
    if (routeError_.empty() || routeErrorShown_) return;
    // Shown while reception goes on; positions arriving meanwhile are
    // collected as usual.
    routeErrorShown_ = true;
    const std::string message = routeError_;
    routeError_.clear();
    links_.dialogs.critical(message);
}

void NavigationLoop::writeRoutePoints() {
    if (routePoints_.empty()) return;
    std::optional<std::string> error =
        route::appendRouteBlock(links_.paths, route::routeFilePath(links_.state.programFolder()), routePoints_);
    routeUnsaved_ = error.has_value();
    if (!error) {
        routePoints_.clear();
        return;
    }
    const Language language = links_.state.language();
    links_.status.setStatus(navigationStatusText(
        state_ == State::Receiving ? NavigationStatus::ActiveRouteNotSaved : NavigationStatus::RouteNotSaved,
        language));
    routeError_ = routeNotSavedText(language, *error);
}

void NavigationLoop::keepRoutePointsAtExit() {
    const std::string file = route::routeFilePath(links_.state.programFolder());
    while (!routePoints_.empty()) {
        std::optional<std::string> error = route::appendRouteBlock(links_.paths, file, routePoints_);
        if (!error) break;
        const Language language = links_.state.language();
        const std::size_t choice =
            links_.dialogs.ask(joinMessageLines(route::unsavedRouteLines(language, routePoints_.size(), *error)),
                               route::unsavedRouteChoices(language));
        if (choice != 0) break;  // discarded, knowingly
    }
    routePoints_.clear();
}

void NavigationLoop::showLog(bool whole) {
    QPlainTextEdit* text1 = links_.controls.receiverLog;
    const std::string& log = log_.text();
    if (!whole && shownLogLength_ > 0 && log.size() >= shownLogLength_) {
        // The log only grew: add the new lines at the end.
        QTextCursor end(text1->document());
        end.movePosition(QTextCursor::End);
        end.insertText(logForDisplay(std::string_view(log).substr(shownLogLength_)));
    } else {
        text1->setPlainText(logForDisplay(log));
    }
    shownLogLength_ = log.size();
    text1->moveCursor(QTextCursor::End);
    text1->ensureCursorVisible();
}

void NavigationLoop::showFixStatus() {
    if (QLabel* label = links_.controls.fixStatus)
        label->setText(
            QString::fromStdString(cp1252ToUtf8(fixStatusText(reception_.fixStatus(), links_.state.language()))));
}

void NavigationLoop::portFailed(const QString& reason) {
    if (state_ != State::Starting && state_ != State::Receiving) return;
    const Language language = links_.state.language();
    const std::string port = "COM" + std::string(1, links_.state.settings.gpsPort);
    const std::string device = target_.describe();
    const std::string where = device.empty() ? port : port + " (" + device + ")";
    const std::string why = utf8ToCp1252(reason.toStdString());
    if (state_ == State::Starting) failure_ = portNotOpenedText(language, where, why);
    else failure_ = connectionLostText(language, where, why);
    log_.setText(log_.text() + why + "\r\n");
    close();
}

void NavigationLoop::checkStop() {
    if ((state_ == State::Starting || state_ == State::Receiving) && links_.state.stopRequest) close();
}

void NavigationLoop::close() {
    if (state_ == State::Idle || state_ == State::Closing) return;
    state_ = State::Closing;
    stopCheck_.stop();
    silence_.stop();
    silent_ = false;
    log_.close();
    showLog(true);
    port_.close();
    writeRoutePoints();
    finishClosing();
}

void NavigationLoop::finishClosing() {
    state_ = State::Closing;
    stopCheck_.stop();
    silence_.stop();
    silent_ = false;
    links_.state.navigationActive = 0;
    state_ = State::Idle;
    // Nothing is received any more: the fix status is no longer known.
    reception_.reset();
    showFixStatus();
    std::vector<std::string> messages;
    if (!failure_.empty()) {
        links_.status.setStatus(shellStatusText(ShellStatus::NavigationStopped, links_.state.language()));
        messages.push_back(failure_);
        failure_.clear();
    }
    if (!routeError_.empty()) {
        // The positions stay collected for the next block; the status line
        // says so last.
        links_.status.setStatus(navigationStatusText(NavigationStatus::RouteNotSaved, links_.state.language()));
        // At the program's end the question that follows says it.
        if (!routeErrorShown_ && !ending_) messages.push_back(routeError_);
        routeError_.clear();
        routeErrorShown_ = true;
    }
    for (const std::string& m : messages) links_.dialogs.critical(m);
    emit stopped();
}

}  // namespace tarvok::gps
