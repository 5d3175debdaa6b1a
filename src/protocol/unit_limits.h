// Values a document can hold but a unit cannot store. Calibrations and doses travel in 16 bits,
// so a calibration of 65536 ml/min would reach the unit as 0 and turn a volume-dosed pump into a
// time-dosed one; such a document is refused before anything is written.
#pragma once

#include <cstdint>
#include <vector>

#include "model/prog_data.h"
#include "protocol/verify.h"

namespace qelto::protocol {

inline constexpr std::uint32_t kLargestUnitValue = 0xFFFF;

// One entry per value beyond the unit: the field, where it is (counted from 1), the value as the
// document value, and the largest the unit takes as the unit value. Doses count only where the
// unit would use them: enabled pumps that have a calibration.
std::vector<Difference> valuesBeyondTheUnit(const model::CProgData& config);

}  // namespace qelto::protocol
