// The check word of legacy command frames.
#pragma once

#include <cstdint>
#include <span>

namespace qelto::legacy {

// CRC-16/ARC: reflected polynomial 0xA001, initial value 0, no final exclusive-or.
std::uint16_t crc16Arc(std::span<const std::uint8_t> bytes);

}  // namespace qelto::legacy
