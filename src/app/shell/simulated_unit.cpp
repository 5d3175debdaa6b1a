#include "app/shell/simulated_unit.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"
#include "app/shell/shell_prompts.h"

namespace qelto::app {
namespace text {
inline constexpr int kSimulatedUnitOn = 4324;
inline constexpr int kSimulatedUnitFailed = 4325;
inline constexpr int kSimulatorNotFound = 4326;
}  // namespace text

namespace {

using namespace std::chrono_literals;

constexpr auto kStartTimeout = 10s;
constexpr auto kStopTimeout = 3s;
constexpr int kExecFailed = 127;

QString statusText(int status) {
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status) == kExecFailed
                   ? QStringLiteral("it could not be run")
                   : QStringLiteral("it ended with status %1").arg(WEXITSTATUS(status));
    }
    return QStringLiteral("it was ended by signal %1").arg(WTERMSIG(status));
}

QString firstLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromLocal8Bit(file.readLine()).trimmed();
}

void stopProcess(pid_t pid) {
    ::kill(pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return;
        }
        std::this_thread::sleep_for(10ms);
    }
}

}  // namespace

QString findUnitSimulator(const QString& programFolder) {
    const QDir folder(programFolder);
    // Beside it when installed; in a build tree the simulator sits in its own folder next door.
    for (const QString& candidate : {folder.filePath(QStringLiteral("qelto-unitsim")),
                                     folder.filePath(QStringLiteral("../sim/qelto-unitsim"))}) {
        if (QFileInfo(candidate).isExecutable()) {
            return QFileInfo(candidate).canonicalFilePath();
        }
    }
    return QStandardPaths::findExecutable(QStringLiteral("qelto-unitsim"));
}

std::unique_ptr<SimulatedUnit> SimulatedUnit::start(const QString& executable, QString* error,
                                                    const QStringList& arguments) {
    auto dir = std::make_unique<QTemporaryDir>();
    if (!dir->isValid()) {
        *error = QStringLiteral("no private folder for it: %1").arg(dir->errorString());
        return nullptr;
    }
    const QString pathFile = dir->filePath(QStringLiteral("port"));
    const QString logFile = dir->filePath(QStringLiteral("unitsim.log"));

    // Everything the child needs is made before fork: after it, only async-signal-safe calls.
    std::vector<std::string> argv{executable.toStdString(), "--path-file", pathFile.toStdString()};
    for (const QString& argument : arguments) {
        argv.push_back(argument.toStdString());
    }
    std::vector<char*> args;
    for (std::string& arg : argv) {
        args.push_back(arg.data());
    }
    args.push_back(nullptr);
    const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const int log =
        ::open(logFile.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const pid_t parent = ::getpid();

    const pid_t pid = ::fork();
    if (pid == 0) {
        // A crashed Qelto must not leave a unit behind on a pseudo-terminal nobody reads.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) {
            ::_exit(0);
        }
        if (quiet >= 0) {
            ::dup2(quiet, STDOUT_FILENO);
        }
        if (log >= 0) {
            ::dup2(log, STDERR_FILENO);
        }
        ::execv(args[0], args.data());
        ::_exit(kExecFailed);
    }
    const int forkError = errno;
    if (quiet >= 0) {
        ::close(quiet);
    }
    if (log >= 0) {
        ::close(log);
    }
    if (pid < 0) {
        *error = QString::fromLocal8Bit(std::strerror(forkError));
        return nullptr;
    }

    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const QString port = firstLine(pathFile);
        if (!port.isEmpty()) {
            return std::unique_ptr<SimulatedUnit>(new SimulatedUnit(pid, port, std::move(dir)));
        }
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            const QString said = firstLine(logFile);
            *error = QStringLiteral("%1 %2").arg(executable, statusText(status));
            if (!said.isEmpty()) {
                *error += QStringLiteral(" (%1)").arg(said);
            }
            return nullptr;
        }
        std::this_thread::sleep_for(20ms);
    }
    stopProcess(pid);
    *error = QStringLiteral("%1 did not report its pseudo-terminal within %2 s")
                 .arg(executable)
                 .arg(std::chrono::seconds(kStartTimeout).count());
    return nullptr;
}

SimulatedUnit::SimulatedUnit(pid_t pid, QString port, std::unique_ptr<QTemporaryDir> dir)
    : pid_(pid), port_(std::move(port)), dir_(std::move(dir)) {}

SimulatedUnit::~SimulatedUnit() {
    stopProcess(pid_);
}

SimulatedSession::SimulatedSession(ShellContext& context, MainWindow& window,
                                   std::unique_ptr<SimulatedUnit> unit)
    : context_(context), unit_(std::move(unit)), ownPort_(context.settings.serPort) {
    context_.settings.serPort = unit_->port().toStdString();
    // The port may have been opened already for the user's own one.
    Q_EMIT window.serialPortChanged();
    label_ = new QLabel(context_.text(text::kSimulatedUnitOn).arg(unit_->port()));
    label_->setObjectName(QStringLiteral("simulatedUnit"));
    label_->setStyleSheet(QStringLiteral("QLabel { color: #a00000; font-weight: bold; }"));
    window.statusBar()->addPermanentWidget(label_);
}

SimulatedSession::~SimulatedSession() {
    // A port the engineer chose meanwhile is theirs to keep; the pseudo-terminal is not.
    if (context_.settings.serPort == unit_->port().toStdString()) {
        context_.settings.serPort = ownPort_;
    }
    delete label_;
}

std::unique_ptr<SimulatedSession> startSimulatedSession(ShellContext& context, MainWindow& window,
                                                        ShellPrompts& prompts,
                                                        const QString& programFolder,
                                                        const QStringList& arguments) {
    const QString executable = findUnitSimulator(programFolder);
    QString error;
    std::unique_ptr<SimulatedUnit> unit;
    if (executable.isEmpty()) {
        error = context.text(text::kSimulatorNotFound);
    } else {
        unit = SimulatedUnit::start(executable, &error, arguments);
    }
    if (!unit) {
        prompts.warn(&window, context.text(text::kSimulatedUnitFailed)
                                  .arg(error, QString::fromStdString(context.settings.serPort)));
        return nullptr;
    }
    return std::make_unique<SimulatedSession>(context, window, std::move(unit));
}

}  // namespace qelto::app
