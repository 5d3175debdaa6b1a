#include "legacy/command_frame.h"

#include "legacy/crc16.h"

namespace qelto::legacy {

CommandFrame commandFrame(std::uint8_t code, std::uint8_t data) {
    const std::array<std::uint8_t, 2> covered{code, data};
    const std::uint16_t crc = crc16Arc(covered);
    return {kStx, code, data, static_cast<std::uint8_t>(crc >> 8), static_cast<std::uint8_t>(crc)};
}

std::uint8_t acknowledgeOf(std::uint8_t code) {
    return static_cast<std::uint8_t>(code + 1);
}

std::uint8_t passwordCommandCode(std::uint8_t code) {
    return static_cast<std::uint8_t>(code | 0x01);
}

std::array<std::uint8_t, 2> passwordBytes(std::int16_t password) {
    // The units take the password as a two's-complement word: -1 is FF FF.
    const auto word = static_cast<std::uint16_t>(password);
    return {static_cast<std::uint8_t>(word >> 8), static_cast<std::uint8_t>(word)};
}

}  // namespace qelto::legacy
