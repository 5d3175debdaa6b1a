// Verifying a unit: each group of settings read back from the unit is compared with what the
// document would write to it. Both sides are communications records, the editor's filled from the
// document and the unit's filled by the matching read; the option names the group compared.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/comms_data.h"

namespace qelto::protocol {

// The groups that verify knows; any other option number compares equal.
enum class VerifyPart : int {
    Globals = 0,
    Calibration = 1,
    ProgData = 2,
    ProgName = 3,
    CustName = 4,
    PumpName = 5,
    Comments = 6,
    Ack = 8,
    UnitName = 9,
    AutoFs = 10,
    ResetTo = 12,
};

constexpr int optionOf(VerifyPart part) {
    return static_cast<int>(part);
}

// One setting that differs between the unit and the document. Program, trigger and pump count
// from 1 as the engineer sees them, and are -1 where they do not apply; the values are readable
// text ("1:30", "600 ml", names in quotes).
struct Difference {
    std::string field;
    int program = -1;
    int trigger = -1;
    int pump = -1;
    std::string unitValue;
    std::string documentValue;
    friend bool operator==(const Difference&, const Difference&) = default;
};

// The document's calibration volume of each pump: a pump with a volume is dosed by volume, so
// its run bytes are compared as a dose; one without is compared by its run time.
using DocumentCalibration = std::array<std::uint32_t, kCommsPumps>;

// True when the unit's part matches the editor's for the option. Settings the unit may keep on
// its own (PINs, aux and reset-delay times, view mode, option flags, language), pumps beyond the
// unit's pump count and the values of disabled pumps never count; customer names and comments
// always match.
bool CP(const CommsData& editor, const CommsData& unit, int option,
        const DocumentCalibration& documentCalibration);

// The same answer as CP, and every difference of the option appended to `out`, including those
// after the first one where CP has already made up its mind.
bool compareParts(const CommsData& editor, const CommsData& unit, int option,
                  const DocumentCalibration& documentCalibration, std::vector<Difference>& out);

// One line for a person, e.g. "program 3, trigger 2, pump 1: run time unit 0:45, document 1:30".
std::string describe(const Difference& difference);

}  // namespace qelto::protocol
