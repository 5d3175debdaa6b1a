// CRC-16/ARC (reflected polynomial 0xA001, start 0, no final exclusive-or), which guards the
// legacy command frames. Kept here rather than shared with the PC side so that a wrong CRC in
// one of the two cannot go unnoticed.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace qelto::sim {

inline std::uint16_t legacyCrc(std::initializer_list<std::uint8_t> bytes) {
    std::uint16_t crc = 0;
    for (const std::uint8_t b : bytes) {
        crc = static_cast<std::uint16_t>(crc ^ b);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001u)
                                  : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

}  // namespace qelto::sim
