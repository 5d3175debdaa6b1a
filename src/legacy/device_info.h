// What an older unit said about itself at sign-on, and the tests the legacy operations make on it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qelto::legacy {

// Which unit a message speaks of: a text number of the language catalog, or 0 when the catalog
// has no text for the type and the unit is named by its type code.
struct UnitNameText {
    int textId = 0;
    std::uint8_t typeCode = 0;
};

// [0] state (see below), [1] unit type in the current numbering (0xFF when the unit gave no
// information), [2] [3] [4] the three ASCII characters of the unit's software version.
using DeviceInfo = std::array<std::uint8_t, 5>;

inline constexpr std::uint8_t kInfoNoSignOn = 0;
inline constexpr std::uint8_t kInfoLegacyWithoutInformation = 1;
inline constexpr std::uint8_t kInfoReceived = 4;
inline constexpr std::uint8_t kUnknownUnitType = 0xFF;

// True after a successful sign-on, with or without information from the unit.
bool deviceInfoValid(const DeviceInfo& info);

// True when the version characters, compared in order, reach a, b, c: the first character that
// differs decides. Takes characters, not numbers: version 1.10 is '1', '1', '0'.
bool VersionAtLeast(const DeviceInfo& info, char a, char b, char c);

// The unit-type classes the legacy screens branch on; the units define what they stand for.
bool unitTypeBelow20(const DeviceInfo& info);
bool unitTypeFrom20To28(const DeviceInfo& info);
bool unitTypeIs22Or27(const DeviceInfo& info);

// "1.10" for the characters '1', '1', '0'.
std::string versionText(const DeviceInfo& info);

// Program names, comments and the spare laundry byte came with software 1.10.
bool hasUnitTexts(const DeviceInfo& info);

// The catalog text that names the signed-on unit in messages.
UnitNameText unitNameText(const DeviceInfo& info);

}  // namespace qelto::legacy
