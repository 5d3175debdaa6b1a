// A legacy laundry unit's configuration over the link: the 66-byte stream that follows the read
// and write commands and, from software 1.10 on, the program names and comments after it.
#pragma once

#include "legacy/legacy_link.h"
#include "model/prog_data.h"

namespace qelto::legacy {

// A stream that breaks off keeps the bytes that arrived in config.legacyConfig, as the units'
// editor always has; names and comments change only when they arrive whole.
bool receiveLaundryConfig(LegacyLink& link, model::CProgData& config);

bool sendLaundryConfig(LegacyLink& link, const model::CProgData& config);

}  // namespace qelto::legacy
