// qelto, the desktop application.
#include <QApplication>
#include <memory>

#include "app/command_line.h"
#include "app/shell/main_window.h"
#include "app/shell/qelto_application.h"
#include "app/shell/shell_prompts.h"
#include "app/shell/simulated_unit.h"

int main(int argc, char** argv) {
    if (const std::optional<int> answered = qelto::app::answerHelpOrVersion(argc, argv)) {
        return *answered;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qelto"));
    QApplication::setApplicationDisplayName(QStringLiteral("Qelto"));
    QApplication::setApplicationVersion(QStringLiteral(QELTO_VERSION));
    // The desktop entry's name, so that desktops match the window to its entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.halvercott.qelto"));
    const qelto::app::CommandLine commandLine =
        qelto::app::parseCommandLine(QApplication::arguments());

    qelto::app::DialogPrompts prompts;
    qelto::app::QeltoApplication qelto(prompts);
    const QStringList documents =
        commandLine.document.isEmpty() ? QStringList() : QStringList{commandLine.document};
    switch (qelto.InitInstance(documents)) {
        case qelto::app::QeltoApplication::Start::HandedOver:
            return 0;
        case qelto::app::QeltoApplication::Start::Failed:
            return 1;
        case qelto::app::QeltoApplication::Start::Running:
            break;
    }
    // --simulate: a simulated unit on the serial port for this run, without hardware; of the kind
    // --simulate-kind names (legacy-laundry, legacy-dishwash), else the simulator's own.
    std::unique_ptr<qelto::app::SimulatedSession> simulated;
    if (commandLine.simulate) {
        simulated = qelto::app::startSimulatedSession(
            *qelto.context(), *qelto.window(), prompts, QApplication::applicationDirPath(),
            commandLine.simulatedKind.isEmpty()
                ? QStringList()
                : QStringList{QStringLiteral("--kind"), commandLine.simulatedKind});
    }
    const int code = QApplication::exec();
    // Before the settings are saved, so they keep the user's own port.
    simulated.reset();
    qelto.ExitInstance();
    return code;
}
