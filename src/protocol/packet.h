// The 33-byte packet record every exchange with a unit carries, and the names of its identifiers
// and poll commands. Byte 0 is the slot of the HID report number and is never transmitted from
// the record; byte 1 is the identifier; bytes 2..32 are the payload.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qelto::protocol {

inline constexpr std::size_t kPacketSize = 33;

struct Packet {
    std::array<std::uint8_t, kPacketSize> bytes{};

    std::uint8_t id() const { return bytes[1]; }
    void setId(std::uint8_t id) { bytes[1] = id; }
    std::uint8_t& operator[](std::size_t i) { return bytes.at(i); }
    std::uint8_t operator[](std::size_t i) const { return bytes.at(i); }

    std::uint16_t u16(std::size_t at) const {
        return static_cast<std::uint16_t>(bytes.at(at) | (bytes.at(at + 1) << 8));
    }
    std::uint32_t u32(std::size_t at) const {
        return static_cast<std::uint32_t>(bytes.at(at)) |
               (static_cast<std::uint32_t>(bytes.at(at + 1)) << 8) |
               (static_cast<std::uint32_t>(bytes.at(at + 2)) << 16) |
               (static_cast<std::uint32_t>(bytes.at(at + 3)) << 24);
    }
    void setU16(std::size_t at, std::uint16_t v) {
        bytes.at(at) = static_cast<std::uint8_t>(v);
        bytes.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
    }
    void setU32(std::size_t at, std::uint32_t v) {
        for (std::size_t i = 0; i < 4; ++i) {
            bytes.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
        }
    }
    friend bool operator==(const Packet&, const Packet&) = default;
};

// Packet identifiers (byte 1).
enum PktID : std::uint8_t {
    PKT_NONE = 0,
    PKT_POLL = 1,
    PKT_ACK = 2,
    PKT_NAK = 3,
    PKT_RTIME = 4,
    PKT_CYCLES = 5,
    PKT_GLOBAL1 = 6,
    PKT_GLOBAL2 = 7,
    PKT_PROGNAME = 8,
    PKT_PUMPNAME = 9,
    PKT_UNITNAME = 10,
    PKT_CUSTNAME = 11,
    PKT_WASHSTAT = 12,
    PKT_PUMPCAL = 13,
    PKT_REPORT = 14,
    PKT_PUMPOPS = 15,
    PKT_SERIAL_NUM = 16,
    PKT_CYC_DOSE = 17,
    PKT_COMMENTS = 18,
    PKT_UNIT_DESC = 22,
    PKT_RF_SETTINGS = 23,
    PKT_EN_PROGS = 24,
    PKT_AUTOFS = 28,
    PKT_RESET_TO = 29,
    PKT_UNIT_TIME = 30,
    PKT_HALVERCOTT = 62,
    PKT_ERASE_EEPROM = 63,
    PKT_PROG_FIRST = 64,  // PKT_PROG01A; 64 + 2 x program index + half
    PKT_PROG_LAST = 105,  // the highest identifier a reader accepts as program data
};

// Program data identifiers: half 0 holds pumps 1-5, half 1 pumps 6-10.
inline constexpr std::uint8_t progDataId(std::uint8_t program, std::uint8_t half) {
    return static_cast<std::uint8_t>(PKT_PROG_FIRST + 2 * program + half);
}
inline constexpr bool isProgDataId(std::uint8_t id) {
    return id >= PKT_PROG_FIRST && id <= PKT_PROG_LAST;
}

// Poll commands, byte 6 of a PKT_POLL request.
enum PollCmd : std::uint8_t {
    CMD_NONE = 0,
    CMD_GET_RUNTIME = 1,
    CMD_GET_CYCLES = 2,
    CMD_GET_GLOBAL = 3,
    CMD_GET_PROGNAME = 4,
    CMD_GET_PUMPNAME = 5,
    CMD_GET_UNITNAME = 6,
    CMD_GET_CUSTNAME = 7,
    CMD_GET_WASHSTAT = 8,
    CMD_GET_PUMPCAL = 9,
    CMD_GET_PROGDATA = 10,
    CMD_ERASE_FORMULA = 11,
    CMD_ERASE_NAMES = 12,
    CMD_RESET = 13,
    CMD_LOCK = 14,
    CMD_UNLOCK = 15,
    CMD_GET_REPORT = 16,
    CMD_GET_CYC_DOSE = 17,
    CMD_GET_COMMENTS = 18,
    CMD_GET_CYC_TIME = 19,
    CMD_ERASE_CYCLE = 20,
    CMD_GET_UNIT_DESC = 21,
    CMD_GET_RF_SETTINGS = 22,
    CMD_GET_EN_PROGS = 23,
    CMD_GET_AUTOFS = 24,
    CMD_GET_RESET_TO = 25,
    CMD_GET_UNIT_TIME = 26,
};

// The constant a PKT_ERASE_EEPROM request carries, so a stray packet cannot wipe a unit.
inline constexpr std::uint32_t kEraseEepromKey = 0x5A3C96E1;

}  // namespace qelto::protocol
