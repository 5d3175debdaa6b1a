#include "legacy/password_command.h"

#include "legacy/device_info.h"

namespace qelto::legacy {
namespace {

using namespace std::chrono_literals;

constexpr auto kBetweenAttempts = 100ms;

}  // namespace

LegacyOutcome RunPasswordCommand(LegacyLink& link, LegacyPrompts& prompts, std::uint8_t code) {
    const std::optional<std::int16_t> password = prompts.askPassword();
    if (!password) {
        return LegacyOutcome::Cancelled;
    }
    for (int attempt = 1; attempt <= kPasswordAttempts; ++attempt) {
        switch (link.SendCommand(code, *password)) {
            case LegacyResult::Ok:
                return LegacyOutcome::Done;
            case LegacyResult::PasswordRefused:
                // Another try with the same password would only count against the engineer.
                prompts.message(kTextWrongPassword, LegacyIcon::Error);
                return LegacyOutcome::PasswordRefused;
            case LegacyResult::PortUnavailable:
                return LegacyOutcome::PortUnavailable;
            case LegacyResult::Failed:
                if (attempt < kPasswordAttempts) {
                    link.pause(kBetweenAttempts);
                }
                break;
        }
    }
    prompts.message(kTextReadNoAnswer, LegacyIcon::Error, unitNameText(link.deviceInfo()));
    return LegacyOutcome::NoAnswer;
}

}  // namespace qelto::legacy
