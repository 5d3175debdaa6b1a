// The Unit menu of the window: read, write and verify a unit, get and set its clock, calibrate
// its pumps, read a report from it and find units. Every one of them runs through the
// communications dialog, which picks the unit, opens and unlocks it, runs the work on a worker
// thread and locks the unit again.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include "comms/history_recorder.h"
#include "comms/operation_driver.h"
#include "comms/report_request.h"
#include "comms/unit_report.h"

class QWidget;

namespace qelto::app {

class DeviceSelectDialog;
class MainWindow;
struct ShellContext;
class CommsAnswers;

// The operation codes the communications dialog runs.
inline constexpr int kOpReadProgram = 320;
inline constexpr int kOpWriteProgram = 321;
inline constexpr int kOpVerifyProgram = 322;
inline constexpr int kOpReportFromUnit = 323;
inline constexpr int kOpPumpCalibration = 324;
// Only a scan: the dialog lists units and runs nothing.
inline constexpr int kOpFindUnits = 0;

// What other parts of the window add to the unit commands.
struct UnitCommandHooks {
    // The report options; nullopt when the engineer cancels. Empty: a report is never started.
    std::function<std::optional<comms::ReportRequest>(QWidget*)> askReportOptions;
    // Shows a report read from a unit; called on the GUI thread after the unit is locked.
    std::function<void(const comms::UnitReport&)> showUnitReport;
};

// Work on an open, unlocked unit. It runs on the dialog's worker thread; whatever it asks or
// shows goes through context.prompts.
using CoreOperation = std::function<comms::OperationResult(comms::OperationContext&)>;

// Connects the Unit menu's actions (found by objectName: "unitRead", "unitWrite",
// "unitVerify", "unitClockGet", "unitClockSet", "unitPumpCalibration", "unitReport",
// "unitFind") to the operations and enables them.
class UnitCommands final : public QObject {
    Q_OBJECT

  public:
    // answers: who answers the dialogs' questions; nullptr for the real dialogs (tests script
    // them). The window and the context must outlive the commands.
    UnitCommands(MainWindow& window, ShellContext& context, UnitCommandHooks hooks,
                 CommsAnswers* answers = nullptr);
    ~UnitCommands() override;

    // Runs one operation (320..324) through the dialog; true when it ended with OK. clockOnly
    // makes a read or a write move only the unit clock.
    bool RunCommsOperation(int operation, bool clockOnly = false);

    // Runs any work on a unit through the same dialog: scan and select, open, unlock with the
    // PIN, the work on the worker thread, lock, close. nullopt when the work never started
    // (cancelled before, no unit chosen or reachable, PIN refused). A cancel while it ran gives
    // status Cancelled, whatever the work itself answered.
    // The unit history keeps it as recording says; with onlySerial, another unit that answers
    // is locked again untouched.
    std::optional<comms::OperationResult> runThroughDialog(
        int operationCode, CoreOperation op, const comms::HistoryRecording& recording = {},
        std::optional<std::uint32_t> onlySerial = {});

    // Writes the document (the settings a history entry kept, opened by the caller) back into
    // unit serial, and into no other; true when it was written.
    bool restoreToUnit(std::uint32_t serial);

    // The dialog for a scan only ("unitFind").
    void findUnits();

    // Who answers the questions of unit work in the window.
    CommsAnswers& answers() { return *answers_; }

  private:
    void connectActions();
    // Runs the dialog modally, with the window's status bar following its progress and naming
    // the chosen unit after it.
    void runWithStatusBar(DeviceSelectDialog& dialog);
    void attachClockButtons();
    // Command 32853: pump calibration, only from the laundry editor.
    void calibratePumps();
    bool runCalibration();
    // After a read the views show the unit's values.
    void refreshViews();
    // The views' edits in progress go into the document before it is written.
    void pushEdits();
    // The unit history of the window's session: its failures are shown once, after the
    // operation that met them.
    void startHistory();
    void showHistory();
    comms::HistoryRecording writeRecording(const char* operation) const;

    MainWindow& window_;
    ShellContext& context_;
    UnitCommandHooks hooks_;
    std::unique_ptr<CommsAnswers> ownAnswers_;
    CommsAnswers* answers_;
};

}  // namespace qelto::app
