// Values a document can hold but a unit cannot store (the configuration fields' unit limits,
// such as the 16 bits calibrations and doses travel in); such a document is refused before
// anything is written.
#pragma once

#include <vector>

#include "model/prog_data.h"
#include "protocol/verify.h"

namespace qelto::protocol {

// One entry per value beyond the unit: the field as a person reads it ("pump calibration"),
// where it is (counted from 1), the value as the document value, and the largest the unit takes
// as the unit value. Doses count only where the unit would use them: enabled pumps that have a
// calibration.
std::vector<Difference> valuesBeyondTheUnit(const model::CProgData& config);

}  // namespace qelto::protocol
