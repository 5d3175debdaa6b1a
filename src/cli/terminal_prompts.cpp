#include "cli/terminal_prompts.h"

#include <fmt/format.h>

#include <algorithm>
#include <utility>

#include "cli/cli_context.h"
#include "comms/device_scan.h"
#include "comms/legacy_operations.h"
#include "model/unit_types.h"
#include "platform/console.h"

namespace qelto::cli {
namespace {

// However many packets a step takes, its bar is at most this many dots wide.
constexpr int kDotsPerBar = 10;

constexpr const char* kPrefix = "qeltoctl: ";

// A status that only counts on ("Searching Log records - 00000042") repeats the text before its
// " - " from the last one.
std::string counterLead(const std::string& text) {
    const std::size_t dash = text.rfind(" - ");
    return dash == std::string::npos ? std::string{} : text.substr(0, dash);
}

}  // namespace

TerminalPrompts::TerminalPrompts(const TerminalAnswers& answers, comms::TextLookup text,
                                 std::FILE* out)
    : answers_(answers),
      text_(std::move(text)),
      out_(out),
      redrawable_(platform::isTerminal(out)) {}

TerminalPrompts::~TerminalPrompts() {
    endLine();
}

std::optional<std::uint16_t> TerminalPrompts::askPin() {
    return answers_.pin;
}

std::optional<comms::Options> TerminalPrompts::askOptions(comms::OptionsKind,
                                                          const comms::Options&) {
    return answers_.options;
}

std::optional<int> TerminalPrompts::askCalibrationChoice(
    const comms::CalibrationComparison& comparison) {
    endLine();
    std::fputs("qeltoctl: pump calibration (ml/min, 0 = timed):\n  pump      unit  document\n",
               out_);
    const int shown =
        std::clamp(comparison.pumpsShown, 0, static_cast<int>(comparison.unitValues.size()));
    for (int p = 0; p < shown; ++p) {
        const auto i = static_cast<std::size_t>(p);
        std::fputs(fmt::format("  {:>4}  {:>8}  {:>8}\n", p + 1, comparison.unitValues[i],
                               comparison.editorValues[i])
                       .c_str(),
                   out_);
    }
    std::fputs(answers_.calibrationChoice == comms::kChooseEditorCalibration
                   ? "qeltoctl: using the document's calibration (--calibration editor)\n"
                   : "qeltoctl: keeping the unit's calibration (--calibration unit)\n",
               out_);
    return answers_.calibrationChoice;
}

bool TerminalPrompts::askYesNo(const comms::Question& question) {
    endLine();
    // Running an older-unit command was the engineer's yes to sending it.
    const bool verify = question.textId == comms::kAskVerifyText;
    const bool yes =
        verify ? answers_.verifyAfterWrite : question.textId == comms::kTextConfirmSend;
    const std::string asked =
        question.caption.empty() ? question.text : question.caption + ": " + question.text;
    std::fputs(
        fmt::format("{}{} {}\n", kPrefix, asked, yes ? (verify ? "yes (--verify)" : "yes") : "no")
            .c_str(),
        out_);
    return yes;
}

bool TerminalPrompts::askChangeUnitType(const comms::UnitTypeChange& change) {
    endLine();
    const std::string documentModel = model::unitModelName(change.documentType);
    if (answers_.changeUnitType) {
        std::fputs(fmt::format("qeltoctl: note: {}; the write makes the unit an {} "
                               "(--change-unit-type)\n",
                               comms::describeUnitTypeChange(change), documentModel)
                       .c_str(),
                   out_);
        return true;
    }
    std::fputs(fmt::format("qeltoctl: error: {}; nothing was written to the unit. Write a "
                           "document of the unit's type, or give --change-unit-type to make the "
                           "unit an {}\n",
                           comms::describeUnitTypeChange(change), documentModel)
                   .c_str(),
               out_);
    return false;
}

void TerminalPrompts::note(const std::string& text) {
    endLine();
    if (!quiet()) {
        std::fputs(("qeltoctl: note: " + text + "\n").c_str(), out_);
    }
}

// A counting status (a log search sends one per reply, thousands of them) redraws its line on a
// terminal; into a file or pipe only its first and last values go.
void TerminalPrompts::status(const std::string& text) {
    // "Select a unit and press OK." speaks of the window's list; the scan prints its own.
    if (quiet() || (text_ && text == text_(comms::kStatusUnitsListed))) {
        return;
    }
    const std::string lead = counterLead(text);
    if (lineOpen_ && !lead.empty() && lead == counterLead(lastStatus_)) {
        if (redrawable_) {
            std::fputs(("\r" + std::string(kPrefix) + text).c_str(), out_);
            std::fflush(out_);
        } else {
            pendingCount_ = text;
        }
        lastStatus_ = text;
        return;
    }
    // A status in the middle of a bar (a request asked again) does not end the bar: its dots
    // go on after the new text.
    const int steps = steps_;
    endLine();
    steps_ = steps;
    dots_ = 0;
    lastStatus_ = text;
    if (!text.empty()) {
        std::fputs((kPrefix + text).c_str(), out_);
        lineOpen_ = true;
        std::fflush(out_);
    }
}

void TerminalPrompts::progressRange(int steps) {
    if (quiet()) {
        return;
    }
    steps_ = std::max(steps, 0);
    done_ = 0;
    dots_ = 0;
    if (steps_ > 0 && !lineOpen_) {
        std::fputc(' ', out_);
        lineOpen_ = true;
    }
}

void TerminalPrompts::progressStep() {
    if (steps_ == 0 || done_ >= steps_) {
        return;
    }
    ++done_;
    const int wanted = done_ * std::min(steps_, kDotsPerBar) / steps_;
    if (dots_ == 0 && wanted > 0) {
        std::fputc(' ', out_);
    }
    for (; dots_ < wanted; ++dots_) {
        std::fputc('.', out_);
    }
    std::fflush(out_);
}

void TerminalPrompts::progressHide() {
    // The line stays open: the next bar of the same step continues it.
    steps_ = 0;
}

void TerminalPrompts::message(int textId, comms::MessageIcon icon, int captionId) {
    endLine();
    if (icon == comms::MessageIcon::Information && !showSuccess_) {
        return;
    }
    std::string line = text_(textId);
    if (captionId != 0) {
        line = text_(captionId) + ": " + line;
    }
    show(std::move(line), icon);
}

void TerminalPrompts::messageText(const std::string& text, comms::MessageIcon icon) {
    endLine();
    if (icon == comms::MessageIcon::Information && !showSuccess_) {
        return;
    }
    show(text, icon);
}

void TerminalPrompts::show(std::string line, comms::MessageIcon icon) {
    if (icon == comms::MessageIcon::Information) {
        if (quiet()) {
            return;
        }
        line = kPrefix + line;
    } else if (icon == comms::MessageIcon::Warning) {
        line = "qeltoctl: warning: " + line;
    } else if (icon == comms::MessageIcon::Error) {
        line = "qeltoctl: error: " + line;
    }
    if (icon == comms::MessageIcon::Information && holdSuccess_) {
        held_.push_back(std::move(line));
        return;
    }
    std::fputs((line + "\n").c_str(), out_);
}

void TerminalPrompts::releaseHeldMessages() {
    endLine();
    for (const std::string& line : held_) {
        std::fputs((line + "\n").c_str(), out_);
    }
    held_.clear();
    std::fflush(out_);
}

void TerminalPrompts::endLine() {
    if (lineOpen_) {
        std::fputc('\n', out_);
        lineOpen_ = false;
    }
    if (!pendingCount_.empty()) {
        std::fputs((kPrefix + pendingCount_ + "\n").c_str(), out_);
        pendingCount_.clear();
    }
    lastStatus_.clear();
    steps_ = 0;
    std::fflush(out_);
}

}  // namespace qelto::cli
