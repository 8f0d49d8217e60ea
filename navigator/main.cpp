// TarvokMAP: the moving-map navigator.
#include <QApplication>
#include <QStyleFactory>

#include "navigator/navigator_windows.h"
#include "navigator/shell/main_window.h"
#include "navigator/shell/program_start.h"
#include "platform/dialogs.h"
#include "platform/dos_path.h"
#include "platform/program_end.h"
#include "platform/sound_device.h"

namespace {

// The navigator from its start to its window's end; its objects are gone
// when it returns.
int runNavigator(QApplication& app) {
    tarvok::QtDialogs dialogs;
    tarvok::DosPaths paths(tarvok::DosPaths::defaultPrefix());
    std::optional<tarvok::NavigatorStart> start = tarvok::prepareNavigator(paths, dialogs);
    if (!start) return 0;

    tarvok::MainWindow window(std::move(*start), paths, dialogs, tarvok::createSoundDevice());
    dialogs.setParent(&window);
    tarvok::NavigatorWindows parts(window);
    QObject::connect(&window, &tarvok::MainWindow::ended, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    tarvok::closeOnTerminationRequest(window);
    window.formLoad();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TarvokMAP"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    tarvok::endProgram(runNavigator(app));
}
