// Everything a unit operation asks or tells the person at the keyboard goes through this one
// interface, so the same driver runs under the window (dialogs), the command line (flags and the
// terminal) and the tests (scripted answers). Nothing below comms/ talks to the user directly.
#pragma once

#include <fmt/format.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "comms/operation_options.h"
#include "comms/report_request.h"
#include "model/unit_types.h"

namespace qelto::comms {

enum class OptionsKind { Read, Write, Verify };

enum class MessageIcon { Information, Warning, Error };

// The calibration of every pump as the unit and the editor hold it, for the engineer to pick one
// side before a write. Only the first pumpsShown pumps mean anything.
struct CalibrationComparison {
    std::array<std::uint32_t, 10> unitValues{};
    std::array<std::uint32_t, 10> editorValues{};
    int pumpsShown = 0;
};

inline constexpr int kChooseEditorCalibration = 0;
inline constexpr int kChooseUnitCalibration = 1;

// A write of a document of another unit type: writing its settings makes the unit that type.
struct UnitTypeChange {
    std::uint8_t documentType = 0;
    std::uint8_t unitType = 0;
};

// "the document is for an L10 (10 pumps), but the unit is an L4 (4 pumps)"
inline std::string describeUnitTypeChange(const UnitTypeChange& change) {
    return fmt::format(
        "the document is for an {} ({} pumps), but the unit is an {} ({} pumps)",
        model::unitModelName(change.documentType), model::unitPumpCount(change.documentType),
        model::unitModelName(change.unitType), model::unitPumpCount(change.unitType));
}

// The text of a string number in the engineer's language.
using TextLookup = std::function<std::string(int)>;

// A yes/no (or OK/Cancel) question: its text and caption already in the engineer's language (an
// empty caption leaves it to the front end), and the string numbers they came from (0 for a text
// built on the spot), so a front end that answers from flags can tell the questions apart.
struct Question {
    std::string text;
    std::string caption;
    int textId = 0;
    int captionId = 0;
};

// The slice of the prompts every part of the program may need: a question and a message. The
// unit operations (OperatorPrompts), batch programming (BatchPrompts), the calibration sheet and
// the window's shell all ask and tell through it, so each front end answers one family.
class BasicPrompts {
  public:
    virtual ~BasicPrompts() = default;

    // True for yes.
    virtual bool askYesNo(const Question& question) = 0;
    // True for OK; a front end without OK/Cancel buttons asks yes/no.
    virtual bool askOkCancel(const Question& question) { return askYesNo(question); }
    // A message whose text the system builds itself ("Error setting RF channel 9").
    virtual void messageText(const std::string& text, MessageIcon icon) = 0;
};

// The question of a string number and its caption (0: none).
inline Question questionOf(const TextLookup& text, int textId, int captionId = 0) {
    return {text ? text(textId) : std::string{},
            text && captionId != 0 ? text(captionId) : std::string{}, textId, captionId};
}

class OperatorPrompts : public BasicPrompts {
  public:
    // The unit's PIN; nullopt when the engineer cancels.
    virtual std::optional<std::uint16_t> askPin() = 0;
    // An older unit's password, which the units compare as a signed 16-bit word; nullopt when the
    // engineer cancels. A front end that never works on older units cancels.
    virtual std::optional<std::int16_t> askPassword() { return std::nullopt; }
    // The options of an operation, starting from preset; nullopt when the engineer cancels.
    virtual std::optional<Options> askOptions(OptionsKind kind, const Options& preset) = 0;
    // Which report to read from a unit; nullopt when the engineer cancels. A front end that offers
    // no reports cancels.
    virtual std::optional<ReportRequest> askReportOptions() { return std::nullopt; }
    // kChooseEditorCalibration or kChooseUnitCalibration; nullopt when cancelled.
    virtual std::optional<int> askCalibrationChoice(const CalibrationComparison& comparison) = 0;
    // Whether to write a document of another unit type into the unit anyway; true for yes. A
    // front end that cannot ask says why nothing is written and refuses.
    virtual bool askChangeUnitType(const UnitTypeChange& change) {
        messageText(describeUnitTypeChange(change) + "; nothing was written to the unit",
                    MessageIcon::Error);
        return false;
    }

    // The line that says what the operation is doing now; the text is already in the user's
    // language. An empty text means the operation is idle.
    virtual void status(const std::string& text) = 0;

    // A bar for a multi-packet step: its range, one step at a time, hidden when the step ends.
    virtual void progressRange(int steps) = 0;
    virtual void progressStep() = 0;
    virtual void progressHide() = 0;

    // A message box by string numbers; captionId 0 leaves the caption to the front end.
    virtual void message(int textId, MessageIcon icon, int captionId = 0) = 0;
    // A front end without message boxes of its own still shows a message, on the status line.
    void messageText(const std::string& text, MessageIcon icon) override {
        (void)icon;
        status(text);
    }
    // A remark on how the operation went that needs no answer ("the unit keeps its serial
    // number 123456789"). A front end without a place of its own shows it on the status line.
    virtual void note(const std::string& text) { status(text); }
};

}  // namespace qelto::comms
