// The five-byte command frame of older units and the command codes they know.
#pragma once

#include <array>
#include <cstdint>

namespace qelto::legacy {

inline constexpr std::uint8_t kStx = 0xC8;

// Command codes. The password commands go out with bit 0 set (see passwordCommandCode).
inline constexpr std::uint8_t kCmdSignOn = 0xE8;
inline constexpr std::uint8_t kCmdReadConfig = 0xD2;     // password
inline constexpr std::uint8_t kCmdWriteConfig = 0xDC;    // password
inline constexpr std::uint8_t kCmdThirdPassword = 0xE6;  // password
inline constexpr std::uint8_t kCmdReportDishwashCycles = 0x78;
inline constexpr std::uint8_t kCmdReportSettings = 0x7A;
inline constexpr std::uint8_t kCmdGetProgramNames = 0xCC;
inline constexpr std::uint8_t kCmdSendProgramNames = 0xCE;
inline constexpr std::uint8_t kCmdGetComments = 0xEA;
inline constexpr std::uint8_t kCmdSendComments = 0xEC;
inline constexpr std::uint8_t kCmdReportLaundryUsage = 0xF2;
inline constexpr std::uint8_t kCmdWriteSpareLaundry = 0xF8;
inline constexpr std::uint8_t kCmdUsageReportFC = 0xFC;
inline constexpr std::uint8_t kCmdUsageReportFE = 0xFE;

using CommandFrame = std::array<std::uint8_t, 5>;

// STX, the code, the data byte (1 only for sign-on), then the CRC of code and data, high byte
// first; STX stays outside the CRC.
CommandFrame commandFrame(std::uint8_t code, std::uint8_t data);

// Older units answer every command with its code plus one (0xFF wraps to 0x00).
std::uint8_t acknowledgeOf(std::uint8_t code);

std::uint8_t passwordCommandCode(std::uint8_t code);

// The two password bytes, high byte first, of the signed number the engineer typed.
std::array<std::uint8_t, 2> passwordBytes(std::int16_t password);

}  // namespace qelto::legacy
