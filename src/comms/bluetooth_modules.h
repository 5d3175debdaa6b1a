// The module list a Bluetooth LE serial dongle sends for "AT+DISC?", turned into the lines an
// engineer picks a unit from, e.g. "KNW_A1  (M -072)": the unit's name, the strength as a letter
// and the dongle's own strength digits.
//
// The dongle's reply is not parsed field by field. Each unit is found by its name prefix "KNW_";
// with p just after the two characters that end the name, the three characters at p-19..p-17
// are the strength digits (the dongle writes -dBm with three digits) and the last two of them
// give the letter: H below 72, M from 72 to 86, L above 86.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qelto::comms {

inline constexpr std::string_view kUnitModulePrefix = "KNW_";

// 'H', 'M' or 'L' for a strength value in -dBm.
char strengthLetter(int value);

// The lines in the order the names appear; bytes are kept as received (Latin-1).
std::vector<std::string> parseModuleList(std::span<const std::uint8_t> received);

}  // namespace qelto::comms
