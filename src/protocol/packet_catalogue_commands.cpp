#include "protocol/packet_catalogue_commands.h"

#include <stdexcept>

#include "protocol/packet_catalogue_fields.h"

namespace qelto::protocol {
namespace {

Packet makeIdentityReply(std::uint8_t id, const UnitIdentity& identity) {
    Packet packet = packetWithId(id);
    packet.setU32(2, identity.serial);
    for (std::size_t i = 0; i < 3; ++i) {
        packet[6 + i] = identity.bytes6to8[i];
        packet[11 + i] = identity.version[i];
    }
    packet[9] = identity.unitTypeIndex;
    packet[10] = identity.byte10;
    packet[14] = identity.byte14;
    packet[16] = identity.byte16;
    packet.setU32(19, identity.cpuSerial);
    packet[23] = identity.byte23;
    packet[24] = identity.bytes24to25[0];
    packet[25] = identity.bytes24to25[1];
    return packet;
}

std::optional<UnitIdentity> parseIdentityReply(std::uint8_t id, const Packet& packet) {
    if (packet.id() != id) {
        return std::nullopt;
    }
    UnitIdentity identity;
    identity.serial = packet.u32(2);
    for (std::size_t i = 0; i < 3; ++i) {
        identity.bytes6to8[i] = packet[6 + i];
        identity.version[i] = packet[11 + i];
    }
    identity.unitTypeIndex = packet[9];
    identity.byte10 = packet[10];
    identity.byte14 = packet[14];
    identity.byte16 = packet[16];
    identity.cpuSerial = packet.u32(19);
    identity.byte23 = packet[23];
    identity.bytes24to25 = {packet[24], packet[25]};
    return identity;
}

}  // namespace

Packet makePoll(std::uint8_t command, std::uint8_t byte7, std::uint8_t byte8) {
    Packet packet = packetWithId(PKT_POLL);
    packet[6] = command;
    packet[7] = byte7;
    packet[8] = byte8;
    return packet;
}

Packet makeUnlock(std::uint16_t pin) {
    Packet packet = makePoll(CMD_UNLOCK);
    packet.setU16(11, pin);
    return packet;
}

Packet makeProgDataRequest(std::uint8_t program, std::uint8_t half, std::uint8_t trigger) {
    if (program > kMaxProgDataProgram || half > 1 || trigger > 9) {
        throw std::out_of_range("program data request out of range");
    }
    return makePoll(CMD_GET_PROGDATA, progDataId(program, half), trigger);
}

std::optional<PollRequest> parsePoll(const Packet& packet) {
    if (packet.id() != PKT_POLL) {
        return std::nullopt;
    }
    PollRequest request;
    request.command = packet[6];
    request.byte7 = packet[7];
    request.byte8 = packet[8];
    // Only an unlock carries a PIN; whatever else sits there is not part of the request.
    request.pin = request.command == CMD_UNLOCK ? packet.u16(11) : std::uint16_t{0};
    return request;
}

Packet makeIdentify() {
    return packetWithId(PKT_HALVERCOTT);
}

Packet makeAck(const UnitIdentity& identity) {
    return makeIdentityReply(PKT_ACK, identity);
}

Packet makeNak(const UnitIdentity& identity) {
    return makeIdentityReply(PKT_NAK, identity);
}

std::optional<UnitIdentity> parseAck(const Packet& packet) {
    return parseIdentityReply(PKT_ACK, packet);
}

std::optional<UnitIdentity> parseNak(const Packet& packet) {
    return parseIdentityReply(PKT_NAK, packet);
}

Packet makeEraseEeprom() {
    Packet packet = packetWithId(PKT_ERASE_EEPROM);
    packet.setU32(6, kEraseEepromKey);
    return packet;
}

bool isEraseEepromRequest(const Packet& packet) {
    return packet.id() == PKT_ERASE_EEPROM && packet.u32(6) == kEraseEepromKey;
}

Packet makeRfSettingsRequest(const RfSettingsRequest& request) {
    Packet packet = packetWithId(PKT_RF_SETTINGS);
    packet[6] = 1;
    packet[7] = request.channel;
    for (std::size_t i = 8; i <= 12; ++i) {
        packet[i] = 0xFF;
    }
    return packet;
}

std::optional<RfSettingsRequest> parseRfSettingsRequest(const Packet& packet) {
    if (packet.id() != PKT_RF_SETTINGS) {
        return std::nullopt;
    }
    return RfSettingsRequest{packet[7]};
}

Packet makeRfSettingsReply(const RfSettingsReply& reply) {
    Packet packet = packetWithId(PKT_RF_SETTINGS);
    for (std::size_t i = 0; i < reply.settings.size(); ++i) {
        packet[6 + i] = reply.settings[i];
    }
    return packet;
}

std::optional<RfSettingsReply> parseRfSettingsReply(const Packet& packet) {
    if (packet.id() != PKT_RF_SETTINGS) {
        return std::nullopt;
    }
    RfSettingsReply reply;
    for (std::size_t i = 0; i < reply.settings.size(); ++i) {
        reply.settings[i] = packet[6 + i];
    }
    return reply;
}

Packet makePumpOps(const PumpOps& ops) {
    Packet packet = packetWithId(PKT_PUMPOPS);
    packet[6] = ops.pump;
    packet[7] = ops.byte7;
    packet[8] = ops.runSeconds;
    packet[9] = ops.speedPercent;
    return packet;
}

std::optional<PumpOps> parsePumpOps(const Packet& packet) {
    if (packet.id() != PKT_PUMPOPS) {
        return std::nullopt;
    }
    return PumpOps{packet[6], packet[7], packet[8], packet[9]};
}

}  // namespace qelto::protocol
