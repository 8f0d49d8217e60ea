// TarvokMAP: the moving-map navigator.
#include <QApplication>
#include <QScreen>

#include "common/settings.h"
#include "navigator/shell/main_window.h"
#include "navigator/shell/program_start.h"
#include "platform/dialogs.h"
#include "platform/dos_path.h"
#include "platform/provision.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TarvokMAP"));

    tarvok::QtDialogs dialogs;
    tarvok::DosPaths paths(tarvok::DosPaths::defaultPrefix());
    tarvok::ProvisionResult made = tarvok::provisionPrefix(
        paths.prefix(), tarvok::installedDataDir(),
        tarvok::SettingsString::settingsProgramTemplate().bytes());
    if (!made.ok) {
        dialogs.critical(tarvok::joinMessageLines(
            {"TARVOK", "", "The program folder could not be created:", "", made.error}));
        return 1;
    }

    std::optional<tarvok::NavigatorStart> start = tarvok::startNavigator(paths, dialogs);
    if (!start) return 0;

    tarvok::MainWindow window(std::move(*start));
    dialogs.setParent(&window);
    window.show();
    return app.exec();
}
