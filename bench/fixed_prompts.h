// An engineer who gives the same answers every time and watches nothing, so a benchmark times
// the operation and not the conversation.
#pragma once

#include <cstdint>
#include <optional>

#include "comms/operator_prompts.h"

namespace qelto::bench {

class FixedPrompts final : public comms::OperatorPrompts {
  public:
    std::uint16_t pin = 0;
    comms::Options options;
    int calibrationChoice = comms::kChooseEditorCalibration;
    bool yes = false;

    std::optional<std::uint16_t> askPin() override { return pin; }
    std::optional<comms::Options> askOptions(comms::OptionsKind, const comms::Options&) override {
        return options;
    }
    std::optional<int> askCalibrationChoice(const comms::CalibrationComparison&) override {
        return calibrationChoice;
    }
    bool askYesNo(const comms::Question&) override { return yes; }
    void status(const std::string&) override {}
    void progressRange(int) override {}
    void progressStep() override {}
    void progressHide() override {}
    void message(int, comms::MessageIcon, int) override {}
};

}  // namespace qelto::bench
