// TarvokMAP: the moving-map navigator.
#include <QApplication>
#include <QStyleFactory>

#include "navigator/gps/navigation_loop.h"
#include "navigator/gps/position_display.h"
#include "navigator/gps/speech_window.h"
#include "navigator/map/map_window.h"
#include "navigator/route/route_window.h"
#include "navigator/route/track/track_window.h"
#include "navigator/shell/main_window.h"
#include "navigator/shell/program_start.h"
#include "platform/dialogs.h"
#include "platform/dos_path.h"
#include "platform/sound_device.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TarvokMAP"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    tarvok::QtDialogs dialogs;
    tarvok::DosPaths paths(tarvok::DosPaths::defaultPrefix());
    std::optional<tarvok::NavigatorStart> start = tarvok::prepareNavigator(paths, dialogs);
    if (!start) return 0;

    tarvok::MainWindow window(std::move(*start), paths, dialogs, tarvok::createSoundDevice());
    dialogs.setParent(&window);
    tarvok::map::MapWindow map(window);
    tarvok::gps::PositionDisplay display(window, map);
    tarvok::gps::NavigationLoop navigation(window, display);
    // A position off the map with the automatic map search on selects the
    // next map; go-to and the map selection place positions through the
    // display.
    display.setMapSearch([&map] { map.FindMapForPosition(); });
    map.setPositionCalls({[&display] { return display.UpdatePosition(); },
                          [&display] { return display.positionPixel(); }});
    // Played routes and imported tracks move on the map through the same
    // UpdatePosition.
    const tarvok::TrackPositionCalls positionCalls{
        [&display] { display.UpdatePosition(); },
        [&display](std::int32_t* x, std::int32_t* y) {
            *x = display.positionPixel().x;
            *y = display.positionPixel().y;
        },
        [&display](int xOffset) { display.followPosition(xOffset); }};
    tarvok::TrackWindowImport trackImport(window, positionCalls);
    // The route button: route playback, or track import for Garmin files.
    tarvok::RouteWindowPlayback routePlayback(window, &trackImport, positionCalls);
    tarvok::gps::SpeechWindow speech(window);
    QObject::connect(&window, &tarvok::MainWindow::ended, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.formLoad();
    return app.exec();
}
