// The engineer's side of a unit operation in the window. The operation runs on a worker thread:
// status lines and progress are posted to the dialog without waiting; questions and messages hop
// to the GUI thread, are answered there, and the worker waits for the answer.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <atomic>
#include <functional>

#include "app/comms/comms_answers.h"
#include "app/comms/gui_hop.h"
#include "comms/operator_prompts.h"
#include "platform/language_catalog.h"

namespace qelto::app {

// Where status and progress show; called on the GUI thread only.
class OperationDisplay {
  public:
    virtual ~OperationDisplay() = default;
    virtual void showStatus(const QString& text) = 0;
    virtual void showProgressRange(int steps) = 0;
    virtual void stepProgress() = 0;
    virtual void hideProgress() = 0;
};

class GuiOperatorPrompts final : public comms::OperatorPrompts {
  public:
    using ReportOptions = std::function<std::optional<comms::ReportRequest>(QWidget*)>;

    // owner is both the parent of every dialog and the display; texts and answers must outlive
    // the operation.
    GuiOperatorPrompts(const platform::LanguageCatalog& texts, CommsAnswers& answers,
                       QWidget* owner, OperationDisplay& display, ReportOptions reportOptions);

    std::optional<std::uint16_t> askPin() override;
    std::optional<std::int16_t> askPassword() override;
    std::optional<comms::Options> askOptions(comms::OptionsKind kind,
                                             const comms::Options& preset) override;
    std::optional<comms::ReportRequest> askReportOptions() override;
    std::optional<int> askCalibrationChoice(
        const comms::CalibrationComparison& comparison) override;
    bool askYesNo(const comms::Question& question) override;
    bool askChangeUnitType(const comms::UnitTypeChange& change) override;
    void status(const std::string& text) override;
    void progressRange(int steps) override;
    void progressStep() override;
    void progressHide() override;
    void message(int textId, comms::MessageIcon icon, int captionId = 0) override;
    void messageText(const std::string& text, comms::MessageIcon icon) override;
    // Notes wait for the next message, the operation's closing one, and are shown under it: a
    // status line would be gone before anyone read it.
    void note(const std::string& text) override;

    // After a cancel: every question is answered with cancel or no and messages are dropped,
    // so the operation runs out without asking anything more.
    void abandon() { abandoned_ = true; }
    void resume() { abandoned_ = false; }

    // Set on the GUI thread before the operation starts: the PIN that unlocked this unit before,
    // answered once instead of asking. lastPin() is the PIN the last question was answered with.
    void offerPin(std::optional<std::uint16_t> pin) {
        offeredPin_ = pin;
        lastPin_.reset();
    }
    std::optional<std::uint16_t> lastPin() const { return lastPin_; }
    bool abandoned() const { return abandoned_; }

    // Runs ask on the GUI thread (unless abandoned) and waits for it.
    template <typename Result, typename Ask>
    Result ask(Result fallback, Ask ask);

  private:
    QString caption(int captionId) const;
    void post(std::function<void(OperationDisplay&)> show);

    const platform::LanguageCatalog& texts_;
    CommsAnswers& answers_;
    QPointer<QWidget> owner_;
    OperationDisplay& display_;
    ReportOptions reportOptions_;
    std::atomic<bool> abandoned_{false};
    std::optional<std::uint16_t> offeredPin_;
    std::optional<std::uint16_t> lastPin_;

    QString notes_;  // only the operation's worker thread touches it
};

template <typename Result, typename Ask>
Result GuiOperatorPrompts::ask(Result fallback, Ask ask) {
    if (abandoned_) {
        return fallback;
    }
    return callOnGuiThread<Result>(owner_.data(), fallback, [&] {
        // A cancel may have come while the question waited in the queue.
        return abandoned_ ? fallback : ask(owner_.data());
    });
}

}  // namespace qelto::app
