// What a legacy dishwash unit sends after its settings report command (0x7A, no password): its
// general data and then the settings stream, in one go.
#pragma once

#include <string>

#include "legacy/dishwash_stream.h"
#include "legacy/legacy_link.h"

namespace qelto::legacy {

struct DishwashReading {
    DishwashGeneral general;
    DishwashStream stream;
    std::string comments;  // units before 1.10 have none
};

// The general data and the stream (with the second initial-charge block from 1.10 on). A verify
// reads past the general data too, though it compares only the stream. False when a byte does
// not come.
bool receiveDishwashSettings(LegacyLink& link, DishwashReading& reading);

}  // namespace qelto::legacy
