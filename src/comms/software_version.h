// Which unit software a feature needs: newer units know packets older ones would not answer, so
// the driver asks the unit its version before sending them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "protocol/unit_channel.h"

namespace qelto::comms {

// Major, minor and build as the unit sends them: characters, most significant first.
using SoftwareVersion = std::array<std::uint8_t, 3>;

inline constexpr SoftwareVersion kVersion105{'1', '0', '5'};
inline constexpr SoftwareVersion kVersion107{'1', '0', '7'};
inline constexpr SoftwareVersion kVersion130{'1', '3', '0'};

// "V1.30", as the engineer reads it.
std::string softwareVersionText(const SoftwareVersion& version);

// True when unit is wanted or newer.
bool versionAtLeast(const SoftwareVersion& unit, const SoftwareVersion& wanted);

// Polls the unit (9 attempts) and compares its version. A unit that gives no proper answer
// counts as older: sending it a packet it does not know is worse than leaving a setting out.
bool unitSoftwareAtLeast(protocol::UnitChannel& channel, const SoftwareVersion& wanted);

}  // namespace qelto::comms
