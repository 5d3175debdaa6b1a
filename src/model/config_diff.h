// Field-by-field comparison of two configurations, for telling an engineer what separates two
// documents (a unit's before and after, a site's template and one machine).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "model/prog_data.h"
#include "model/qelto_doc.h"

namespace qelto::model {

struct ConfigDifference {
    std::string field;  // the record's own field name, as `show --json` prints it
    // Numbered as people see them (from 1); absent where the field has no such position.
    std::optional<unsigned> program;
    std::optional<unsigned> trigger;
    std::optional<unsigned> pump;
    std::optional<unsigned> pin;        // PIN 1..3
    std::optional<std::size_t> offset;  // byte offset inside legacyConfig (0..88)
    bool isText = false;                // the values are free texts (UTF-8), not numbers
    std::string a;                      // the value in the first record, readable
    std::string b;                      // the value in the second record, readable
    friend bool operator==(const ConfigDifference&, const ConfigDifference&) = default;
};

// Every field a person edits or a unit holds, in the order unit-wide settings, PINs, the legacy
// image, pumps, then program by program (name, each trigger's pulse count and steps). Format
// flags and batch members are not compared; neither are the unused bytes behind a text's
// terminator nor the third byte of a time, which no file stores and no one sees.
std::vector<ConfigDifference> diffConfigs(const CProgData& a, const CProgData& b);

// The family of unit the two documents are for, when it differs: "unitFamily", "dishwash" ->
// "laundry". A dishwash document keeps its settings outside the configuration record, so without
// this a dishwash and a laundry document can compare as equal.
std::optional<ConfigDifference> diffUnitFamily(const CQeltoDoc& a, const CQeltoDoc& b);

// Where a difference sits, as "programs[3].triggers[2].pumps[1].runTime", "pumps[4].pumpName",
// "pin[2]" or "legacyConfig@47".
std::string fieldPath(const ConfigDifference& difference);

}  // namespace qelto::model
