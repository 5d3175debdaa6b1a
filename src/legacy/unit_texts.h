// Program names, comments and the spare laundry byte of legacy units of software 1.10 and later.
// Each transfer is one plain command followed by data packets; callers check hasUnitTexts()
// first, because earlier units do not acknowledge these commands at all.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "legacy/legacy_link.h"

namespace qelto::legacy {

inline constexpr std::size_t kLegacyPrograms = 20;
// Each name travels in a packet of this many bytes, NUL filled.
inline constexpr std::size_t kNamePacketBytes = 128;
// The most comment bytes a unit is believed to hold; more from a unit is treated as a fault.
inline constexpr std::size_t kMaxLegacyComments = 4096;

using LegacyProgramNames = std::array<std::string, kLegacyPrograms>;

bool getProgramNames(LegacyLink& link, LegacyProgramNames& names);
bool sendProgramNames(LegacyLink& link, const LegacyProgramNames& names);
bool GetComments(LegacyLink& link, std::string& comments);
bool sendComments(LegacyLink& link, const std::string& comments);

// Sends the byte and reads the unit's echo of it.
bool writeSpareLaundryByte(LegacyLink& link, std::uint8_t value);

}  // namespace qelto::legacy
