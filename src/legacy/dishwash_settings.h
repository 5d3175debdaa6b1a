// Reading a legacy dishwash unit's settings and verifying a unit against the document's dishwash
// record. Neither needs a password.
#pragma once

#include <string>
#include <vector>

#include "legacy/dishwash_stream.h"
#include "legacy/legacy_link.h"
#include "legacy/password_command.h"

namespace qelto::legacy {

struct DishwashReading {
    DishwashGeneral general;
    DishwashStream stream;
    std::string comments;  // units before 1.10 have none
};

// Done, PortUnavailable, NoAnswer (the command was not acknowledged) or Failed (the data broke
// off).
LegacyOutcome ReadDishwashSettings(LegacyLink& link, DishwashReading& reading);

// Reads the unit's settings and lists where they differ from record; Done says the read worked,
// not that they agree.
LegacyOutcome VerifyDishwashUnit(LegacyLink& link, const model::CDishWashViewData& record,
                                 std::vector<std::string>& differences);

}  // namespace qelto::legacy
