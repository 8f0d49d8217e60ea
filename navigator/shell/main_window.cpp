#include "main_window.h"

namespace tarvok {

MainWindow::MainWindow(NavigatorStart start, QWidget* parent)
    : QMainWindow(parent), start_(std::move(start)) {
    setWindowTitle(QStringLiteral("Tarvok"));
    setObjectName(QStringLiteral("frmMain"));
}

}  // namespace tarvok
