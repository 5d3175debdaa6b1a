// The comparisons behind CP and compareParts, one per group of settings, and the sink they report
// to. Only the verify files include this.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "protocol/verify.h"

namespace qelto::protocol::verify_detail {

// Collects what the comparisons find. Without a list it only notes that something differed, and
// then tells a comparison that is decided by its first failing check that it may stop there.
class DifferenceSink {
  public:
    explicit DifferenceSink(std::vector<Difference>* list) : list_(list) {}

    // Records one difference; answers whether looking further is still of use.
    bool add(Difference difference) {
        found_ = true;
        if (list_ == nullptr) {
            return false;
        }
        list_->push_back(std::move(difference));
        return true;
    }
    bool found() const { return found_; }

  private:
    std::vector<Difference>* list_;
    bool found_ = false;
};

// Where a difference sits; the numbers are 0-based here and become 1-based for people.
inline Difference at(std::string field, int program = -1, int trigger = -1, int pump = -1) {
    Difference d;
    d.field = std::move(field);
    d.program = program < 0 ? -1 : program + 1;
    d.trigger = trigger < 0 ? -1 : trigger + 1;
    d.pump = pump < 0 ? -1 : pump + 1;
    return d;
}

// Reports a difference when the values differ, written by `text`; answers whether to go on.
template <typename T, typename Text>
bool check(DifferenceSink& sink, Difference where, const T& unit, const T& editor, Text text) {
    if (unit == editor) {
        return true;
    }
    where.unitValue = text(unit);
    where.documentValue = text(editor);
    return sink.add(std::move(where));
}

std::string numberText(unsigned value);
std::string minutesSecondsText(unsigned minutes, unsigned seconds);
std::string secondsAsMinutesText(unsigned seconds);
std::string quotedText(const std::string& text);

void compareGlobals(const GlobalsPart& editor, const GlobalsPart& unit, DifferenceSink& sink);
void compareCalibration(const CalibrationPart& editor, const CalibrationPart& unit,
                        DifferenceSink& sink);
void compareAutoFs(const AutoFs& editor, const AutoFs& unit, DifferenceSink& sink);
void compareResetTo(const ResetToPart& editor, const ResetToPart& unit, DifferenceSink& sink);
void compareProgData(const ProgDataPart& editor, const ProgDataPart& unit,
                     const DocumentCalibration& documentCalibration, DifferenceSink& sink);
void compareProgNames(const ProgNamesPart& editor, const ProgNamesPart& unit, DifferenceSink& sink);
void comparePumpNames(const PumpNamesPart& editor, const PumpNamesPart& unit, DifferenceSink& sink);
void compareUnitDescription(const TextSlot<kUnitDescriptionSlot>& editor,
                            const TextSlot<kUnitDescriptionSlot>& unit, DifferenceSink& sink);

}  // namespace qelto::protocol::verify_detail
