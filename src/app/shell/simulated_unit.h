// qelto --simulate: a qelto-unitsim process on a pseudo-terminal that stands in for the unit on
// the serial port for one run, so the window can be tried and shown without hardware.
#pragma once

#include <sys/types.h>

#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

class QLabel;
class QTemporaryDir;

namespace qelto::app {

class MainWindow;
class ShellPrompts;
struct ShellContext;

// qelto-unitsim beside the running program (or in the build tree next to it), else the first one
// on PATH; empty when none.
QString findUnitSimulator(const QString& programFolder);

class SimulatedUnit {
  public:
    // Starts the simulator and waits until its pseudo-terminal exists. nullptr with error (the
    // reason, with what the simulator said) when it cannot be run or ends at once. The
    // simulator ends with this process even when Qelto crashes.
    // arguments go to the simulator after its own ("--kind", "legacy-laundry").
    static std::unique_ptr<SimulatedUnit> start(const QString& executable, QString* error,
                                                const QStringList& arguments = {});
    // Stops it by its pid and waits for it.
    ~SimulatedUnit();
    SimulatedUnit(const SimulatedUnit&) = delete;
    SimulatedUnit& operator=(const SimulatedUnit&) = delete;

    const QString& port() const { return port_; }
    pid_t pid() const { return pid_; }

  private:
    SimulatedUnit(pid_t pid, QString port, std::unique_ptr<QTemporaryDir> dir);

    pid_t pid_;
    QString port_;
    std::unique_ptr<QTemporaryDir> dir_;
};

// The window on a simulated unit for this run: the port setting points at the simulator, in
// memory only, and the status bar says "simulated unit" so nobody takes it for hardware. When the
// session ends the user's own port comes back, so the settings file never holds the
// pseudo-terminal, and the simulator stops.
class SimulatedSession {
  public:
    SimulatedSession(ShellContext& context, MainWindow& window,
                     std::unique_ptr<SimulatedUnit> unit);
    ~SimulatedSession();
    SimulatedSession(const SimulatedSession&) = delete;
    SimulatedSession& operator=(const SimulatedSession&) = delete;

    const SimulatedUnit& unit() const { return *unit_; }

  private:
    ShellContext& context_;
    std::unique_ptr<SimulatedUnit> unit_;
    std::string ownPort_;
    QPointer<QLabel> label_;
};

// Finds and starts the simulator for the window; when that fails, says why and that the port of
// the settings stays in use, and returns nullptr.
std::unique_ptr<SimulatedSession> startSimulatedSession(ShellContext& context, MainWindow& window,
                                                        ShellPrompts& prompts,
                                                        const QString& programFolder,
                                                        const QStringList& arguments = {});

}  // namespace qelto::app
