// The navigation loop of the main window: the NAV button Navig1 opens the
// GPS receiver's port and shows every position it sends, until a second
// click (or STOP, Escape, another mode) raises the stop request.
//
// Driven by the port's signals, never by polling the line:
//
//   Idle --Navig1--> Starting --port opened--> Receiving
//   Starting / Receiving --stop request, port failure, window closed--> Closing --> Idle
//
// Every complete line of a read goes to the reception log Text1; each RMC
// sentence among them is shown: readouts, needles, UpdatePosition, the map
// view following the position, the status line, the key
// preview re-armed, route recording, SpeakStatus. The stop request stays the shared flag of
// the navigator state; it is looked at on every read and a few times a
// second in between, so a receiver that has gone quiet still stops. When no
// complete sentence has come for five seconds the status line says there is
// no GPS data, until sentences come again; the reception log names the
// device the port was opened on and its line settings.
//
// With route recording on, every position shown on the map is collected and
// appended to ROUTE1.TVK in blocks of a filler and 501 positions; when
// navigation ends (stopped, port lost, program closed) the positions since
// the last block follow as a shorter block, so nothing driven is lost. A
// block that cannot be written stays collected and goes with the next one;
// the failure is shown on the status line, and in a message box once per
// navigation. When the program ends with positions still unwritten (a full
// disk), the user is asked to try again or to discard them; they are never
// dropped without being asked.
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "navigator/gps/reception.h"
#include "navigator/route/route_record.h"
#include "navigator/shell/main_window_controls.h"
#include "navigator/shell/shell_calls.h"
#include "platform/dos_path.h"
#include "platform/gps_port.h"

class QWidget;

namespace tarvok {
class Dialogs;
class SoundPlayback;
struct NavigatorState;
}  // namespace tarvok

namespace tarvok::gps {

class PositionDisplay;

class NavigationLoop : public QObject {
    Q_OBJECT
public:
    enum class State { Idle, Starting, Receiving, Closing };

    // How often the stop request is looked at while no data arrives.
    static constexpr int kStopCheckMilliseconds = 100;
    // Positions per block of the route file (behind its filler record).
    static constexpr std::size_t kRouteBlockPoints = 501;

    // How long the port may stay without a complete sentence before the
    // status line says so (5 seconds; tests shorten it).
    static void setSilenceLimit(std::chrono::milliseconds limit);

    // What the loop uses of the main window.
    struct Links {
        const MainWindowControls& controls;  // NAV (Navig1) and the reception log Text1
        NavigatorState& state;               // the flags, the stop request, the port settings
        StatusLine& status;
        WindowModes& modes;  // the stop, the window to the front
        QWidget& window;     // where the start keystrokes go when nothing has the focus
        SoundPlayback& sound;
        SpeechCalls& speech;  // SpeakStatus after each shown position
        Dialogs& dialogs;
        const DosPaths& paths;
    };
    NavigationLoop(Links links, PositionDisplay& display, QObject* parent = nullptr);
    ~NavigationLoop() override;

    // The NAV button: starts navigation when it is not active, else raises
    // the stop request (status text and "Navig2.WAV" by the window's stop).
    void Navig1_click();

    // The program ends: navigation ends like a stop, and positions not yet
    // written are kept or knowingly discarded.
    void programEnding();

    State state() const { return state_; }
    const ReceptionLog& log() const { return log_; }
    // How many RMC sentences were shown since navigation started.
    long fixesShown() const { return fixes_; }
    // Positions collected and not yet in the route file.
    std::size_t routePointsWaiting() const { return routePoints_.size(); }

signals:
    // The loop has returned to Idle.
    void stopped();

private:
    void start();
    void portOpened();
    void received();
    void portFailed(const QString& reason);
    void checkStop();
    // A read held complete sentences: the silence watch starts again, and
    // after a silence the normal status returns.
    void sentencesArrived();
    void silenceElapsed();
    void showActiveStatus();
    void close();
    void finishClosing();
    void showFix(const RmcFields& fields);
    // Label7 in the instrument panel: the receiver's fix as received.
    void showFixStatus();
    // Text1 shows the log: only its new end, or `whole` after a rewrite.
    void showLog(bool whole = false);
    void sendKeystrokes();
    void recordRoutePoint();
    void writeRoutePoints();
    // At the program's end: the positions still waiting go to the route
    // file, or are discarded once the user has chosen so.
    void keepRoutePointsAtExit();

    Links links_;
    PositionDisplay& display_;
    GpsPort port_;
    PortTarget target_;
    QTimer stopCheck_;
    QTimer silence_;       // single shot: no sentence for the silence limit
    bool silent_ = false;  // the status line says there is no GPS data
    LineSettings line_;
    State state_ = State::Idle;
    NmeaReception reception_;
    ReceptionLog log_;
    std::size_t shownLogLength_ = 0;  // how much of the log Text1 holds
    long fixes_ = 0;
    bool receiving_ = false;                       // a read is being shown
    bool readAgain_ = false;                       // another read arrived meanwhile
    std::string failure_;                          // why the port broke, shown once closed
    std::vector<route::RouteRecord> routePoints_;  // collected since the last block
    std::string routeError_;                       // the last route write failure, not yet shown
    bool routeErrorShown_ = false;                 // a message box was shown in this navigation
    bool routeUnsaved_ = false;                    // the last block could not be written
    bool ending_ = false;                          // the program is ending: the question asks instead
};

}  // namespace tarvok::gps
