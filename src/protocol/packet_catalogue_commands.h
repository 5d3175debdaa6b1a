// Polls, the unit's identity in its acknowledgements, and the packets that make a unit act
// (unlock, identify, erase, radio settings, manual pump runs).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "protocol/packet.h"

namespace qelto::protocol {

// A PKT_POLL request. byte7 and byte8 are the command's arguments (a block, an index, a
// program-half identifier and a trigger); the PIN rides in bytes 11..12 of CMD_UNLOCK only.
struct PollRequest {
    std::uint8_t command = CMD_NONE;
    std::uint8_t byte7 = 0;
    std::uint8_t byte8 = 0;
    std::uint16_t pin = 0;
    friend bool operator==(const PollRequest&, const PollRequest&) = default;
};

Packet makePoll(std::uint8_t command, std::uint8_t byte7 = 0, std::uint8_t byte8 = 0);
Packet makeUnlock(std::uint16_t pin);
// CMD_GET_PROGDATA for one half (0: pumps 1-5, 1: pumps 6-10) of one trigger of one program.
// Throws std::out_of_range for a program above 20, a half above 1 or a trigger above 9.
Packet makeProgDataRequest(std::uint8_t program, std::uint8_t half, std::uint8_t trigger);
std::optional<PollRequest> parsePoll(const Packet& packet);

// PKT_HALVERCOTT: asks the unit who it is; answered by PKT_ACK.
Packet makeIdentify();

// What a unit says about itself in PKT_ACK (and PKT_NAK) replies. The bytes without a known
// meaning are kept so that they can be shown and sent back as they came.
struct UnitIdentity {
    std::uint32_t serial = 0;  // bytes 2..5
    std::array<std::uint8_t, 3> bytes6to8{};
    std::uint8_t unitTypeIndex = 0;  // byte 9; the model number is one more
    std::uint8_t byte10 = 0;
    std::array<std::uint8_t, 3> version{};  // bytes 11..13: major, minor, sub characters
    std::uint8_t byte14 = 0;
    std::uint8_t byte16 = 0;
    std::uint32_t cpuSerial = 0;  // bytes 19..22
    std::uint8_t byte23 = 0;
    std::array<std::uint8_t, 2> bytes24to25{};
    friend bool operator==(const UnitIdentity&, const UnitIdentity&) = default;
};

Packet makeAck(const UnitIdentity& identity = {});
Packet makeNak(const UnitIdentity& identity = {});
std::optional<UnitIdentity> parseAck(const Packet& packet);
// A unit that refuses a poll still reports its type and version in the PKT_NAK.
std::optional<UnitIdentity> parseNak(const Packet& packet);

// PKT_ERASE_EEPROM with the key that stops a stray packet from wiping a unit.
Packet makeEraseEeprom();
// True for PKT_ERASE_EEPROM carrying the right key.
bool isEraseEepromRequest(const Packet& packet);

// PKT_RF_SETTINGS asks the radio dongle to use a channel; 0xFF leaves the choice to it.
inline constexpr std::uint8_t kAnyRfChannel = 0xFF;

struct RfSettingsRequest {
    std::uint8_t channel = kAnyRfChannel;
    friend bool operator==(const RfSettingsRequest&, const RfSettingsRequest&) = default;
};

// The nine radio setting bytes (6..14) of the dongle's answer, handed on as they came.
struct RfSettingsReply {
    std::array<std::uint8_t, 9> settings{};
    friend bool operator==(const RfSettingsReply&, const RfSettingsReply&) = default;
};

// Where the dongle's answer carries the strength of the signal it last heard from the unit on
// its channel: right after the channel (byte 7), in packet byte 8.
inline constexpr std::size_t kRfSignalByte = 8;
inline std::uint8_t rfSignalStrength(const RfSettingsReply& reply) {
    return reply.settings[kRfSignalByte - 6];
}

Packet makeRfSettingsRequest(const RfSettingsRequest& request = {});
std::optional<RfSettingsRequest> parseRfSettingsRequest(const Packet& packet);
Packet makeRfSettingsReply(const RfSettingsReply& reply);
std::optional<RfSettingsReply> parseRfSettingsReply(const Packet& packet);

// PKT_PUMPOPS runs one pump by hand; a run of 0 seconds at speed 0 stops it early.
struct PumpOps {
    std::uint8_t pump = 0;   // 0-based
    std::uint8_t byte7 = 1;  // always 1 from the PC
    std::uint8_t runSeconds = 0;
    std::uint8_t speedPercent = 0;
    friend bool operator==(const PumpOps&, const PumpOps&) = default;
};

Packet makePumpOps(const PumpOps& ops);
std::optional<PumpOps> parsePumpOps(const Packet& packet);

}  // namespace qelto::protocol
