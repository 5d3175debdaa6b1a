// An engineer who answers from a script and a record of everything the driver asked or showed,
// so a test can check both the answers' effect and the conversation itself.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "comms/operator_prompts.h"

namespace qelto::test {

class ScriptedPrompts final : public comms::OperatorPrompts {
  public:
    // The answers; nullopt answers mean "cancel".
    std::optional<std::uint16_t> pin;
    std::optional<std::int16_t> password;
    std::optional<comms::Options> options;
    std::optional<int> calibrationChoice;
    std::optional<comms::ReportRequest> report;
    bool yes = false;
    bool changeUnitType = false;

    // Every call in order, as short lines such as "status Reading names" or "message 256 1".
    std::vector<std::string> calls;
    // Only the status lines, the most common thing to check.
    std::vector<std::string> statuses;
    std::vector<int> messages;
    std::vector<comms::MessageIcon> icons;
    int optionsAsked = 0;
    std::optional<comms::CalibrationComparison> comparison;

    std::optional<std::uint16_t> askPin() override {
        calls.push_back("askPin");
        return pin;
    }
    std::optional<std::int16_t> askPassword() override {
        calls.push_back("askPassword");
        return password;
    }
    std::optional<comms::Options> askOptions(comms::OptionsKind kind,
                                             const comms::Options&) override {
        calls.push_back("askOptions " + std::to_string(static_cast<int>(kind)));
        ++optionsAsked;
        return options;
    }
    std::optional<comms::ReportRequest> askReportOptions() override {
        calls.push_back("askReportOptions");
        return report;
    }
    std::optional<int> askCalibrationChoice(const comms::CalibrationComparison& shown) override {
        calls.push_back("askCalibrationChoice");
        comparison = shown;
        return calibrationChoice;
    }
    bool askYesNo(const comms::Question& question) override {
        calls.push_back("askYesNo " + std::to_string(question.textId) + " " +
                        std::to_string(question.captionId));
        return yes;
    }
    bool askChangeUnitType(const comms::UnitTypeChange& change) override {
        calls.push_back("askChangeUnitType " + std::to_string(change.documentType) + " " +
                        std::to_string(change.unitType));
        return changeUnitType;
    }
    void note(const std::string& text) override { calls.push_back("note " + text); }
    void status(const std::string& text) override {
        calls.push_back("status " + text);
        statuses.push_back(text);
    }
    void progressRange(int steps) override {
        calls.push_back("progressRange " + std::to_string(steps));
    }
    void progressStep() override { calls.push_back("progressStep"); }
    void progressHide() override { calls.push_back("progressHide"); }
    void messageText(const std::string& text, comms::MessageIcon) override {
        calls.push_back("messageText " + text);
    }
    void message(int textId, comms::MessageIcon icon, int captionId) override {
        calls.push_back("message " + std::to_string(textId) + " " +
                        std::to_string(static_cast<int>(icon)) + " " + std::to_string(captionId));
        messages.push_back(textId);
        icons.push_back(icon);
    }
};

}  // namespace qelto::test
