// The unit clock travels as local time in the text form "%H%M%S%d%m%Y" (14 digits).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qelto::sim {

std::string formatUnitTime(std::int64_t secondsSinceEpoch);
// nullopt unless the text is 14 digits naming a real local time.
std::optional<std::int64_t> parseUnitTime(std::string_view text);

}  // namespace qelto::sim
