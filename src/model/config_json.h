// The records as JSON, every field under its own name, for scripts and for comparing documents.
// Texts are decoded from Latin-1; fixed-width texts end at their first NUL byte.
#pragma once

#include <nlohmann/json.hpp>

#include "model/dishwash_data.h"
#include "model/prog_data.h"

namespace qelto::model {

nlohmann::ordered_json toJson(const CProgData& config);
nlohmann::ordered_json toJson(const CDishWashViewData& dishwash);

}  // namespace qelto::model
