// Reading and writing a legacy laundry unit's configuration: the legacy image of the record by
// the 66-byte stream, and from software 1.10 on the program names and comments as well.
#pragma once

#include "legacy/legacy_link.h"
#include "legacy/legacy_prompts.h"
#include "legacy/password_command.h"
#include "model/prog_data.h"

namespace qelto::legacy {

// A read that breaks off keeps the bytes that arrived in config.legacyConfig, as the units'
// editor always has; names and comments change only when they arrive whole.
LegacyOutcome ReadLegacyUnit(LegacyLink& link, LegacyPrompts& prompts, model::CProgData& config);

// Asks the engineer to confirm before the password.
LegacyOutcome WriteLegacyUnit(LegacyLink& link, LegacyPrompts& prompts,
                              const model::CProgData& config);

// The third password command carries no data; what it does is the unit's business.
LegacyOutcome SendThirdPasswordCommand(LegacyLink& link, LegacyPrompts& prompts);

}  // namespace qelto::legacy
