// The engineer of a legacy operation, played from the test: the password to give (or a cancel),
// the answer to every yes/no question, and a record of every message shown.
#pragma once

#include <optional>
#include <vector>

#include "legacy/legacy_prompts.h"

namespace qelto::legacy::test {

struct ShownMessage {
    int textId;
    LegacyIcon icon;
    std::optional<UnitNameText> unit;
};

class ScriptedPrompts final : public LegacyPrompts {
  public:
    std::optional<std::int16_t> password = 1234;
    bool answerYes = true;

    int passwordQuestions = 0;
    std::vector<int> questions;
    std::vector<ShownMessage> shown;

    std::optional<std::int16_t> askPassword() override {
        ++passwordQuestions;
        return password;
    }
    bool askYesNo(int textId) override {
        questions.push_back(textId);
        return answerYes;
    }
    void message(int textId, LegacyIcon icon, std::optional<UnitNameText> unit) override {
        shown.push_back({textId, icon, unit});
    }
};

}  // namespace qelto::legacy::test
