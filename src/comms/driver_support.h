// What the read, write and verify drivers share: progress that reaches the engineer through the
// prompts, and the status line by string number.
#pragma once

#include <fmt/format.h>

#include <string>

#include "comms/operation_driver.h"
#include "protocol/unit_channel.h"

namespace qelto::comms {

// The progress of multi-packet operations reaches the engineer through the prompts.
class PromptProgress final : public protocol::OperationObserver {
  public:
    explicit PromptProgress(OperatorPrompts& prompts) : prompts_(prompts) {}
    void progressBegin(int steps) override { prompts_.progressRange(steps); }
    void progressStep() override { prompts_.progressStep(); }
    void progressEnd() override { prompts_.progressHide(); }
    // A unit that is slow to answer is worth saying so: otherwise the engineer sees nothing
    // happen for up to half a minute.
    void retrying(int attempt, int attempts) override {
        prompts_.status(fmt::format("Waiting for the unit - no reply, asking again ({} of {})",
                                    attempt, attempts));
    }
    void answeredOnRetry(int attempt, int attempts) override {
        prompts_.status(
            fmt::format("Waiting for the unit - answered at attempt {} of {}", attempt, attempts));
    }

  private:
    OperatorPrompts& prompts_;
};

// Shows the status line of a string number; the catalog gives its text.
inline void showStatus(OperationContext& context, int textId) {
    context.prompts.status(context.text ? context.text(textId) : std::string{});
}

// Runs the verify on an open, unlocked connection and locks the unit afterwards. Without given
// options the engineer picks them. Returns whether everything compared matched; every difference
// found goes to `differences`, and `cancelled` tells a cancel from a mismatch. Mismatches do not
// stop the comparison (the engineer gets the whole list), but a failed read does: a unit that
// stopped answering would only make every later read wait out its retries.
struct VerifyOutcome {
    bool matched = false;
    bool cancelled = false;
    bool unitLocked = false;
    std::vector<protocol::Difference> differences;
    // The part that could not be read ("program names"), when one could not; it and the parts
    // after it were not compared, so the unit neither matched nor differed there.
    std::string notCompared;
};
// Reads the unit and compares it with the document: the Verify command (asks for the parts) and
// the verify after a write (given the write's parts).
VerifyOutcome compareUnitWithDocument(OperationContext& context,
                                      const std::optional<Options>& givenOptions);

}  // namespace qelto::comms
