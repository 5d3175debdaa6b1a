// Runs one legacy operation at a time on a worker thread, so the window keeps drawing and
// answering while the unit is slow (each byte may take up to three seconds). The outcome comes
// back on the GUI thread.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "app/forms/legacy_dialog_prompts.h"
#include "legacy/password_command.h"

namespace qelto::app::forms {

class LegacyOperationRunner final : public QObject {
    Q_OBJECT

  public:
    // Questions and messages of the operations are shown over owner, which must outlive the
    // runner (the form keeps it as a member and so destroys it first).
    LegacyOperationRunner(const platform::LanguageCatalog& texts, QWidget* owner);
    // Waits for a running operation; the questions it still asks are answered with cancel.
    ~LegacyOperationRunner() override;

    using Work = std::function<legacy::LegacyOutcome(legacy::LegacyPrompts&)>;
    using Done = std::function<void(legacy::LegacyOutcome)>;

    // False when an operation is already running. done runs on the GUI thread.
    bool start(Work work, Done done);
    bool busy() const { return busy_; }
    // The dialogs of the operations, for a message the form shows itself.
    legacy::LegacyPrompts& prompts() { return prompts_; }

  private:
    void finish(legacy::LegacyOutcome outcome);

    QWidget* owner_;
    LegacyDialogPrompts prompts_;
    std::thread worker_;
    Done done_;
    bool busy_ = false;                 // GUI thread: until done has run
    std::atomic<bool> running_{false};  // until the worker has posted its outcome
};

}  // namespace qelto::app::forms
