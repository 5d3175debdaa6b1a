// The commands that live beside the main window's own File, View and Language menus: the Unit
// menu with its communications dialog, the report view with its menu, the batch commands and the
// older units' menu, each wired to the others (a report read from a unit shows in the report view,
// the report view reads through the communications dialog, a batch writes through it).
#pragma once

#include <functional>
#include <memory>

#include "comms/unit_session.h"

namespace qelto::app {

class BatchCommands;
class MainWindow;
class ReportCommands;
class ShellPrompts;
class UnitCommands;
struct ShellContext;

class WindowCommands {
  public:
    // The window, the context and the prompts must outlive the commands.
    WindowCommands(MainWindow& window, ShellContext& context, ShellPrompts& prompts);
    ~WindowCommands();
    WindowCommands(const WindowCommands&) = delete;
    WindowCommands& operator=(const WindowCommands&) = delete;

    UnitCommands& unit() { return *unit_; }
    ReportCommands& report() { return *report_; }
    BatchCommands& batch() { return *batch_; }

  private:
    void connectOlderUnits();
    // Runs an older-unit operation on the session's port, then done on the GUI thread when it
    // went through. The unit history keeps it as recording says.
    void runOnOlderUnit(int titleId, comms::LegacyOperation operation,
                        std::function<void()> done = {},
                        const comms::HistoryRecording& recording = {});

    MainWindow& window_;
    ShellContext& context_;
    std::unique_ptr<ReportCommands> report_;
    std::unique_ptr<UnitCommands> unit_;
    std::unique_ptr<BatchCommands> batch_;
};

}  // namespace qelto::app
