// The communications dialog: the units a scan found, the Bluetooth dongle's scan and pairing,
// two status lines and a progress bar. OK opens the link to the chosen unit, unlocks it with
// its PIN, runs the operation and locks the unit again; all unit work runs on a worker thread,
// so the dialog keeps drawing and Cancel works at any moment. A cancelled operation ends with
// the unit locked and is never reported as a success.
#pragma once

#include <QDialog>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/comms/comms_answers.h"
#include "app/comms/gui_operator_prompts.h"
#include "app/comms/operation_status_panel.h"
#include "app/comms/unit_commands.h"
#include "app/comms/worker_thread.h"
#include "comms/bluetooth_dongle.h"
#include "comms/bluetooth_texts.h"
#include "comms/unit_session.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace qelto::app {

struct ShellContext;

struct DeviceDialogSetup {
    int operation = kOpFindUnits;
    // The work on the unlocked unit; empty for a scan only.
    CoreOperation work;
    GuiOperatorPrompts::ReportOptions reportOptions;
    // Shows the document's new values in the window; called on the GUI thread.
    std::function<void()> refreshViews;
    // How the unit history keeps the operation, and the one unit it is for (a restore).
    comms::HistoryRecording recording = {};
    std::optional<std::uint32_t> onlySerial = {};
};

class DeviceSelectDialog final : public QDialog {
    Q_OBJECT

  public:
    DeviceSelectDialog(ShellContext& context, CommsAnswers& answers, DeviceDialogSetup setup,
                       QWidget* parent = nullptr);
    // Waits for unit work still running (only when the window is torn down around it).
    ~DeviceSelectDialog() override;

    // What the operation ended with; nullopt when it never ran.
    const std::optional<comms::OperationResult>& result() const { return result_; }
    // Pump calibration chosen with no unit selected: the calibration opens on the document.
    bool withoutUnit() const { return withoutUnit_; }
    bool busy() const { return worker_.busy(); }
    // For the work on the worker thread: who answered, and the prompts to hop to the GUI with.
    const comms::UnitIdentity& unitIdentity() const { return identity_; }
    GuiOperatorPrompts& prompts() { return prompts_; }

    QListWidget* deviceList() const { return list_; }
    QLabel* statusLine() const { return panel_->statusLine(); }
    QLabel* secondStatusLine() const { return panel_->secondStatusLine(); }
    QProgressBar* progressBar() const { return panel_->progressBar(); }
    QPushButton* scanButton() const { return scan_; }
    QPushButton* bluetoothButton() const { return bluetooth_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    // The scan button (serial port, then USB) and the Bluetooth scan button.
    void scanAndRefill();
    void scanBluetooth();
    // The OK button: opens the chosen unit and runs the operation.
    void OnDevselectok();

  public Q_SLOTS:
    // Cancel, Escape and closing the window: while unit work runs it is cancelled first.
    void reject() override;

  Q_SIGNALS:
    // Unit work (scan, pairing or operation) ended and its outcome is shown.
    void workFinished();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void refillList();
    // The line of the unit chosen before in this window, or -1 when the list no longer has it.
    int chosenLine() const;
    // Makes the unit on a line the window's chosen unit.
    void chooseLine(int row, const std::string& where);
    void selectionChanged(int row);
    void pairBluetooth(int row);
    void showBluetooth(comms::BluetoothMessage message);
    void setBusy(bool busy);
    void updateOk();
    int language() const;
    comms::TextLookup textLookup() const;

    // Before unit work starts: the current settings, and no cancel left from before.
    comms::UnitSession& session();
    // GUI thread, once the worker has returned.
    void operationDone();
    void endCancelled();

    ShellContext& context_;
    CommsAnswers& answers_;
    DeviceDialogSetup setup_;
    OperationStatusPanel* panel_;  // before prompts_, which shows on it
    GuiOperatorPrompts prompts_;

    QListWidget* list_;
    QPushButton* scan_;
    QPushButton* bluetooth_;
    QPushButton* ok_;
    QPushButton* cancel_;

    std::atomic<bool> cancelRequested_{false};
    bool busy_ = false;  // the buttons show unit work running
    bool bluetoothListMode_ = false;
    bool okAfterPairing_ = false;
    bool withoutUnit_ = false;
    bool lockFailed_ = false;  // the last operation's lock went unanswered
    int runRow_ = -1;          // the line the operation runs on
    std::optional<comms::OperationResult> result_;
    comms::UnitIdentity identity_;  // worker thread, set before the work runs
    // Written by the worker, read on the GUI thread once it returned.
    comms::SessionOutcome outcome_;
    comms::BluetoothScan bluetoothScan_;
    std::optional<comms::PairResult> pairResult_;

    // Last, so it is destroyed (and the worker joined) before everything the worker uses.
    WorkerThread worker_;
};

}  // namespace qelto::app
