// qelto: the desktop application.
#include <QApplication>

#include "app/shell/main_window.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    qelto::app::MainWindow window;
    window.show();
    return QApplication::exec();
}
