#include "legacy/crc16.h"

namespace qelto::legacy {

std::uint16_t crc16Arc(std::span<const std::uint8_t> bytes) {
    // Bit by bit: frames carry two bytes, so a table would only cost memory.
    std::uint16_t crc = 0;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            const bool lowBitSet = (crc & 1U) != 0;
            crc = static_cast<std::uint16_t>(crc >> 1);
            if (lowBitSet) {
                crc ^= 0xA001;
            }
        }
    }
    return crc;
}

}  // namespace qelto::legacy
