// One operation on an older unit in the window: a small window-modal dialog with a status line, a
// progress bar and Cancel, over the unit session's serial port. The operation runs on the worker
// thread; its password question, confirmation and messages hop to the GUI thread as dialogs.
// Closing the dialog (or its owner going away) cancels the operation at once.
#pragma once

#include <QDialog>
#include <functional>

#include "app/comms/comms_answers.h"
#include "app/comms/gui_operator_prompts.h"
#include "app/comms/operation_status_panel.h"
#include "app/comms/worker_thread.h"
#include "comms/unit_session.h"
#include "platform/language_catalog.h"

class QLabel;
class QPushButton;

namespace qelto::app {

struct OlderUnitSetup {
    comms::UnitSession& session;
    model::CQeltoDoc& doc;
    const platform::LanguageCatalog& texts;
    CommsAnswers& answers;
    int titleId = 0;
    comms::LegacyOperation operation;
    // Shows the document's new values; GUI thread.
    std::function<void()> refreshViews;
    // The outcome, on the GUI thread, once the dialog has closed; not called when the dialog is
    // torn down around a running operation.
    std::function<void(const comms::SessionOutcome&)> done;
    // How the unit history keeps the operation; empty: not at all.
    comms::HistoryRecording recording = {};
};

class OlderUnitDialog final : public QDialog {
    Q_OBJECT

  public:
    OlderUnitDialog(OlderUnitSetup setup, QWidget* parent);
    // Cancels a running operation and waits for it.
    ~OlderUnitDialog() override;

    // Opens the dialog (window-modal) and starts the operation; the dialog deletes itself when
    // the operation has ended. False when the worker was busy.
    bool start();
    bool busy() const { return worker_.busy(); }

    QLabel* statusLine() const { return panel_->statusLine(); }
    QPushButton* cancelButton() const { return cancel_; }

  public Q_SLOTS:
    void reject() override;

  private:
    void finished();

    OlderUnitSetup setup_;
    OperationStatusPanel* panel_;  // before prompts_, which shows on it
    GuiOperatorPrompts prompts_;
    QPushButton* cancel_;
    comms::SessionOutcome outcome_;  // written by the worker, read once it returned
    // Last, so it is destroyed (and the worker joined) before everything the worker uses.
    WorkerThread worker_;
};

}  // namespace qelto::app
