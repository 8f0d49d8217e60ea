// The navigator's main window.
#pragma once

#include <QMainWindow>

#include "navigator/shell/program_start.h"

namespace tarvok {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(NavigatorStart start, QWidget* parent = nullptr);

    const NavigatorStart& start() const { return start_; }

private:
    NavigatorStart start_;
};

}  // namespace tarvok
