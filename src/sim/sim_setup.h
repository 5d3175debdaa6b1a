// Turns the command line into a unit: the factory memory, the --state file over it, and the
// explicit identity options over both.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "sim/fault_plan.h"
#include "sim/laundry_port.h"
#include "sim/request_log.h"
#include "sim/unit_port.h"

namespace qelto::sim {

struct SimSetup {
    std::string kind = "laundry";
    std::optional<std::uint16_t> pin;
    std::optional<std::uint32_t> serial;
    std::optional<std::uint8_t> unitType;
    std::optional<std::string> version;  // "none" for a legacy unit without device information
    bool noClock = false;
    std::string stateFile;
    // A usage history from this seed, `usageDays` days ending today, added to the state file's.
    std::optional<std::uint32_t> usageSeed;
    unsigned usageDays = 30;
    FaultOptions faults;
};

// Throws StateError (or std::runtime_error) with a readable reason.
std::unique_ptr<UnitPort> makeUnit(const SimSetup& setup, RequestLog* log);
// The same for a packet-protocol laundry unit whatever setup.kind says; dongles hold these.
std::unique_ptr<LaundryPort> makeLaundryPort(const SimSetup& setup, RequestLog* log);

bool isLegacyKind(const std::string& kind);

}  // namespace qelto::sim
