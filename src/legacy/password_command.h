// The password procedure every protected legacy command goes through: ask once, then up to five
// attempts, stopping at once on a refused password or a port that will not open.
#pragma once

#include <cstdint>

#include "legacy/legacy_link.h"
#include "legacy/legacy_prompts.h"

namespace qelto::legacy {

enum class LegacyOutcome {
    Done,
    Cancelled,        // the engineer cancelled the password or said no
    PasswordRefused,  // already told (wrong password)
    PortUnavailable,  // nothing told: the link's openError() says why
    NoAnswer,         // already told: five attempts got no acknowledged command
    Failed,           // the data after the command broke off; already told
};

inline constexpr int kPasswordAttempts = 5;

// Runs command code with the engineer's password. On Done the unit waits for (or sends) the data
// that follows the command.
LegacyOutcome RunPasswordCommand(LegacyLink& link, LegacyPrompts& prompts, std::uint8_t code);

}  // namespace qelto::legacy
