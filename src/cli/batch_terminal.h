// The batch questions of qeltoctl: --yes answers them, otherwise the terminal of standard input
// is asked, and with neither nobody can answer, which the command reports as a usage error.
#pragma once

#include <optional>
#include <string>

#include "comms/batch_prompts.h"

namespace qelto::cli {

class TerminalBatchPrompts final : public comms::BatchPrompts {
  public:
    explicit TerminalBatchPrompts(bool assumeYes) : assumeYes_(assumeYes) {}

    void warn(const std::string& text, comms::BatchField field) override;
    void messageText(const std::string& text, comms::MessageIcon icon) override;
    bool askYesNo(const comms::Question& question) override;

    // A question came up that neither --yes nor a terminal could answer.
    bool unanswered() const { return unanswered_; }
    // An entry was refused or something failed, rather than a question answered no.
    bool refused() const { return refused_; }

  private:
    bool ask(const std::string& text, const char* choices);

    bool assumeYes_;
    bool unanswered_ = false;
    bool refused_ = false;
};

// A line typed at the terminal of standard input after the prompt (on standard error), echoed
// or not. nullopt when standard input is not a terminal or ends.
std::optional<std::string> askLineAtTerminal(const std::string& prompt, bool echo);

}  // namespace qelto::cli
