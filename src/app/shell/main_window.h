// The main window: menus, tool bar, status bar and the views the engineer switches between.
#pragma once

#include <QMainWindow>

namespace qelto::app {

class MainWindow final : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace qelto::app
