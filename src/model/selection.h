// The editors' current position in the programs, in the two bytes the editors share: program in
// the low 5 bits of the first; trigger in the low 4 bits and pump in the high 4 bits of the
// second.
#pragma once

#include <cstdint>

namespace qelto::model {

struct Selection {
    std::uint8_t programByte = 0;
    std::uint8_t stepByte = 0;

    std::uint8_t program() const { return programByte & 0x1F; }
    std::uint8_t trigger() const { return stepByte & 0x0F; }
    std::uint8_t pump() const { return static_cast<std::uint8_t>(stepByte >> 4); }

    void set(std::uint8_t program, std::uint8_t trigger, std::uint8_t pump) {
        programByte = program & 0x1F;
        stepByte = static_cast<std::uint8_t>((trigger & 0x0F) | ((pump & 0x0F) << 4));
    }
};

}  // namespace qelto::model
