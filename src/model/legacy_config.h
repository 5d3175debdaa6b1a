// The 89-byte configuration image in the layout of the legacy units. It is stored in document
// files as one block and read byte by byte from legacy units, so its offsets never move.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "model/min_sec.h"

namespace qelto::model {

using LegacyConfig = std::array<std::uint8_t, 89>;

namespace lc {
inline constexpr std::size_t kCustomerName1 = 0;   // 17 bytes
inline constexpr std::size_t kCustomerName2 = 17;  // 17 bytes
inline constexpr std::size_t kNameWidth = 17;
inline constexpr std::size_t kUnitType = 34;
inline constexpr std::size_t kSpareText = 35;  // 9 bytes
inline constexpr std::size_t kSpareTextWidth = 9;
inline constexpr std::size_t kPumpSpeed = 44;
inline constexpr std::size_t kAccessCode = 45;
inline constexpr std::size_t kPulseCount = 46;
inline constexpr std::size_t kResetDelayTime = 47;  // MinSec
inline constexpr std::size_t kFlushValveTime = 50;  // MinSec
inline constexpr std::size_t kAuxTime = 53;         // MinSec
inline constexpr std::size_t kRunTime = 56;         // MinSec, default of new steps
inline constexpr std::size_t kDelayTime = 59;       // MinSec, default of new steps
inline constexpr std::size_t kResetDelayOff = 62;
inline constexpr std::size_t kResetDelayLastInput = 63;
inline constexpr std::size_t kLegacyByte64 = 64;  // absent from files of the first format
inline constexpr std::size_t kPin1 = 65;          // three u16, little-endian
inline constexpr std::size_t kAuxByte = 71;
inline constexpr std::size_t kSerialNo = 72;  // 10 bytes of digits
inline constexpr std::size_t kSerialNoWidth = 10;
inline constexpr std::size_t kPumpCalibration = 82;
inline constexpr std::size_t kSoftwareVersion = 83;  // 6 bytes
inline constexpr std::size_t kSoftwareVersionWidth = 6;
// The units' own bytes; the rest came with file format 4.
inline constexpr std::size_t kLegacyUnitBytes = 72;
}  // namespace lc

inline std::uint16_t legacyPin(const LegacyConfig& c, std::size_t index) {
    const std::size_t at = lc::kPin1 + 2 * index;
    return static_cast<std::uint16_t>(c[at] | (c[at + 1] << 8));
}

inline void setLegacyPin(LegacyConfig& c, std::size_t index, std::uint16_t pin) {
    const std::size_t at = lc::kPin1 + 2 * index;
    c[at] = static_cast<std::uint8_t>(pin);
    c[at + 1] = static_cast<std::uint8_t>(pin >> 8);
}

inline MinSec legacyTime(const LegacyConfig& c, std::size_t at) {
    return {c[at], c[at + 1], c[at + 2]};
}

// Sets minutes and seconds only: the third byte belongs to the unit.
inline void setLegacyTime(LegacyConfig& c, std::size_t at, std::uint8_t minutes,
                          std::uint8_t seconds) {
    c[at] = minutes;
    c[at + 1] = seconds;
}

}  // namespace qelto::model
