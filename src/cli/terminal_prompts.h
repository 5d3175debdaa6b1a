// The operator of a qeltoctl command: every question the driver asks is answered from the
// command line, and what it shows goes to standard error, so standard output carries only the
// command's own results.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "comms/operation_driver.h"
#include "comms/operator_prompts.h"

namespace qelto::cli {

struct TerminalAnswers {
    std::uint16_t pin = 0;
    comms::Options options;
    int calibrationChoice = comms::kChooseEditorCalibration;
    bool verifyAfterWrite = false;
    bool changeUnitType = false;  // write a document of another unit type (--change-unit-type)
    std::optional<comms::ReportRequest> report;  // which report a report command reads
    std::optional<std::int16_t> password;        // an older unit's (--password)
};

class TerminalPrompts final : public comms::OperatorPrompts {
  public:
    TerminalPrompts(const TerminalAnswers& answers, comms::TextLookup text,
                    std::FILE* out = stderr);
    ~TerminalPrompts() override;
    TerminalPrompts(const TerminalPrompts&) = delete;
    TerminalPrompts& operator=(const TerminalPrompts&) = delete;

    // Commands that say the outcome in their own words (the clock) leave out the driver's
    // "done" message, which speaks of a document they do not have. Warnings and errors stay.
    void hideSuccessMessages() { showSuccess_ = false; }
    // Commands that save a file after the operation hold its "done" message back until the save
    // has succeeded, then print it with releaseHeldMessages(); a failed save drops it.
    void holdSuccessMessages() { holdSuccess_ = true; }
    void releaseHeldMessages();

    std::optional<std::uint16_t> askPin() override;
    std::optional<std::int16_t> askPassword() override { return answers_.password; }
    std::optional<comms::Options> askOptions(comms::OptionsKind kind,
                                             const comms::Options& preset) override;
    std::optional<comms::ReportRequest> askReportOptions() override { return answers_.report; }
    std::optional<int> askCalibrationChoice(
        const comms::CalibrationComparison& comparison) override;
    bool askYesNo(const comms::Question& question) override;
    bool askChangeUnitType(const comms::UnitTypeChange& change) override;
    void note(const std::string& text) override;
    void status(const std::string& text) override;
    void progressRange(int steps) override;
    void progressStep() override;
    void progressHide() override;
    void message(int textId, comms::MessageIcon icon, int captionId) override;
    void messageText(const std::string& text, comms::MessageIcon icon) override;

  private:
    void endLine();
    void show(std::string line, comms::MessageIcon icon);

    TerminalAnswers answers_;
    comms::TextLookup text_;
    std::FILE* out_;
    bool showSuccess_ = true;
    bool holdSuccess_ = false;
    std::vector<std::string> held_;
    bool redrawable_ = false;  // out_ is a terminal: a line can be drawn over
    std::string lastStatus_;
    std::string pendingCount_;  // the newest count not yet shown, when out_ is not a terminal
    bool lineOpen_ = false;     // a status line waits for its progress dots
    int steps_ = 0;
    int done_ = 0;
    int dots_ = 0;
};

}  // namespace qelto::cli
