// qelto, the desktop application.
#include <QApplication>
#include <memory>

#include "app/shell/main_window.h"
#include "app/shell/qelto_application.h"
#include "app/shell/shell_prompts.h"
#include "app/shell/simulated_unit.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qelto"));
    QApplication::setApplicationDisplayName(QStringLiteral("Qelto"));
    QApplication::setApplicationVersion(QStringLiteral("0.1"));

    qelto::app::DialogPrompts prompts;
    qelto::app::QeltoApplication qelto(prompts);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    // --simulate: a simulated unit on the serial port for this run, without hardware;
    // --simulate=KIND one of the simulator's other kinds (legacy-laundry, legacy-dishwash).
    bool simulate = arguments.removeAll(QStringLiteral("--simulate")) > 0;
    QStringList simulatorArguments;
    for (qsizetype i = arguments.size() - 1; i >= 0; --i) {
        if (arguments[i].startsWith(QStringLiteral("--simulate="))) {
            simulatorArguments = {QStringLiteral("--kind"),
                                  arguments[i].section(QLatin1Char('='), 1)};
            arguments.removeAt(i);
            simulate = true;
        }
    }
    switch (qelto.InitInstance(arguments)) {
        case qelto::app::QeltoApplication::Start::HandedOver:
            return 0;
        case qelto::app::QeltoApplication::Start::Failed:
            return 1;
        case qelto::app::QeltoApplication::Start::Running:
            break;
    }
    std::unique_ptr<qelto::app::SimulatedSession> simulated;
    if (simulate) {
        simulated = qelto::app::startSimulatedSession(*qelto.context(), *qelto.window(), prompts,
                                                      QApplication::applicationDirPath(),
                                                      simulatorArguments);
    }
    const int code = QApplication::exec();
    // Before the settings are saved, so they keep the user's own port.
    simulated.reset();
    qelto.ExitInstance();
    return code;
}
