#include "app/shell/main_window.h"

namespace qelto::app {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Qelto"));
}

}  // namespace qelto::app
