// TarvokSET: the settings program of the navigator.
#include <QApplication>
#include <QStyleFactory>
#include <memory>

#include "platform/dialogs.h"
#include "platform/dos_path.h"
#include "platform/program_end.h"
#include "platform/termination.h"
#include "platform/window_presence.h"
#include "settings/settings_file.h"
#include "settings/settings_window.h"

namespace {

// The settings program from its start to its window's end; its objects are
// gone when it returns.
int runSettings(QApplication& app) {
    tarvok::QtDialogs dialogs;
    tarvok::DosPaths paths(tarvok::DosPaths::defaultPrefix());
    if (!tarvok::settings::provisionForSettings(paths, dialogs)) return 1;

    // The window's title is announced to other programs through this.
    std::unique_ptr<tarvok::WindowPresence> presence = tarvok::createWindowPresence();
    tarvok::settings::SettingsWindow window(paths, dialogs, presence.get());
    dialogs.setParent(&window);
    QObject::connect(&window, &tarvok::settings::SettingsWindow::unloaded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // A desktop session that ends the program still closes the window, and
    // closing saves; so does a request to end from outside (SIGTERM, SIGHUP,
    // SIGINT); an end that hangs (a save on a dead disk, a message nobody
    // answers) is cut off after kEndRequestBound.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, [&window] { window.close(); });
    tarvok::onTerminationRequest(
        &window, [&window] { window.close(); }, tarvok::kEndRequestBound);
    window.formLoad();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TarvokSET"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    tarvok::endProgram(runSettings(app));
}
