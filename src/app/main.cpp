// qelto: the desktop application.
#include <QApplication>

#include "app/shell/main_window.h"
#include "app/shell/qelto_application.h"
#include "app/shell/shell_prompts.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qelto"));
    QApplication::setApplicationDisplayName(QStringLiteral("Qelto"));
    QApplication::setApplicationVersion(QStringLiteral("0.1"));

    qelto::app::DialogPrompts prompts;
    qelto::app::QeltoApplication qelto(prompts);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    switch (qelto.InitInstance(arguments)) {
        case qelto::app::QeltoApplication::Start::HandedOver:
            return 0;
        case qelto::app::QeltoApplication::Start::Failed:
            return 1;
        case qelto::app::QeltoApplication::Start::Running:
            break;
    }
    const int code = QApplication::exec();
    qelto.ExitInstance();
    return code;
}
