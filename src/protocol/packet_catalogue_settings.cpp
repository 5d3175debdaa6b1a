#include "protocol/packet_catalogue_settings.h"

#include "protocol/packet_catalogue_fields.h"

namespace qelto::protocol {

std::uint8_t speedRangeToWire(std::uint8_t range) {
    return static_cast<std::uint8_t>((range + 1) % 4);
}

std::uint8_t speedRangeFromWire(std::uint8_t wire) {
    return wire == 0 ? std::uint8_t{3} : static_cast<std::uint8_t>(wire - 1);
}

Packet makeGlobalBlock1(const GlobalBlock1& block) {
    Packet packet = packetWithId(PKT_GLOBAL1);
    packet.setU32(2, block.unitSerial);
    packet[9] = block.unitType;
    packet[10] = block.language;
    for (std::size_t i = 0; i < block.pins.size(); ++i) {
        packet.setU16(11 + 2 * i, block.pins[i]);
    }
    packet[17] = block.accessCode;
    packet.setU16(18, block.auxTime);
    packet[20] = block.auxByte;
    packet.setU16(21, block.resetDelayTime);
    packet[23] = block.resetDelayOff;
    packet[24] = block.resetDelayLastInput;
    packet[25] =
        static_cast<std::uint8_t>((block.optionFlag0 ? 1 : 0) | (block.optionFlag1 ? 2 : 0));
    for (std::size_t i = 0; i < block.bytes26to28.size(); ++i) {
        packet[26 + i] = block.bytes26to28[i];
    }
    packet[29] = block.viewMode;
    packet[30] = block.flushType;
    packet[31] = block.relayMode;
    packet[32] = block.safetyStopMode;
    return packet;
}

std::optional<GlobalBlock1> parseGlobalBlock1(const Packet& packet) {
    if (packet.id() != PKT_GLOBAL1) {
        return std::nullopt;
    }
    GlobalBlock1 block;
    block.unitSerial = packet.u32(2);
    block.unitType = packet[9];
    block.language = packet[10];
    for (std::size_t i = 0; i < block.pins.size(); ++i) {
        block.pins[i] = packet.u16(11 + 2 * i);
    }
    block.accessCode = packet[17];
    block.auxTime = packet.u16(18);
    block.auxByte = packet[20];
    block.resetDelayTime = packet.u16(21);
    block.resetDelayOff = packet[23];
    block.resetDelayLastInput = packet[24];
    block.optionFlag0 = (packet[25] & 1) != 0;
    block.optionFlag1 = (packet[25] & 2) != 0;
    for (std::size_t i = 0; i < block.bytes26to28.size(); ++i) {
        block.bytes26to28[i] = packet[26 + i];
    }
    block.viewMode = packet[29];
    block.flushType = packet[30];
    block.relayMode = packet[31];
    block.safetyStopMode = packet[32];
    return block;
}

Packet makeGlobalBlock2(const GlobalBlock2& block) {
    Packet packet = packetWithId(PKT_GLOBAL2);
    packet.setU32(2, block.unitSerial);
    for (std::size_t i = 0; i < 10; ++i) {
        packet[6 + i] = block.pumpSpeed[i];
        packet[22 + i] = speedRangeToWire(block.pumpSpeedRange[i]);
    }
    packet.setU16(16, block.flushValveTime);
    packet.setU16(18, block.words18to21[0]);
    packet.setU16(20, block.words18to21[1]);
    return packet;
}

std::optional<GlobalBlock2> parseGlobalBlock2(const Packet& packet) {
    if (packet.id() != PKT_GLOBAL2) {
        return std::nullopt;
    }
    GlobalBlock2 block;
    block.unitSerial = packet.u32(2);
    for (std::size_t i = 0; i < 10; ++i) {
        block.pumpSpeed[i] = packet[6 + i];
        block.pumpSpeedRange[i] = speedRangeFromWire(packet[22 + i]);
    }
    block.flushValveTime = packet.u16(16);
    block.words18to21 = {packet.u16(18), packet.u16(20)};
    return block;
}

Packet makeAutoFs(const AutoFs& settings) {
    Packet packet = packetWithId(PKT_AUTOFS);
    packet[6] = settings.mode;
    packet.setU16(7, settings.time);
    packet[9] = settings.acceptTime;
    return packet;
}

std::optional<AutoFs> parseAutoFs(const Packet& packet) {
    if (packet.id() != PKT_AUTOFS) {
        return std::nullopt;
    }
    return AutoFs{packet[6], packet.u16(7), packet[9]};
}

ResetTo resetToForOption(std::uint8_t resetOption) {
    switch (resetOption) {
        case 0:
            return ResetTo{kResetToLastProgram, 1, 0};
        case 1:
            return ResetTo{kResetToProgram00, 1, 0};
        default:
            return ResetTo{kResetToChosenProgram, static_cast<std::uint8_t>(resetOption - 1), 0};
    }
}

std::uint8_t resetOptionOf(const ResetTo& resetTo) {
    switch (resetTo.kind) {
        case kResetToLastProgram:
            return 0;
        case kResetToProgram00:
            return 1;
        default:
            // Any kind other than the two fixed ones counts as a chosen program. The option is a
            // single byte, so a chosen program of 255 wraps round to option 0.
            return static_cast<std::uint8_t>(resetTo.byte7 + 1);
    }
}

Packet makeResetTo(const ResetTo& resetTo) {
    Packet packet = packetWithId(PKT_RESET_TO);
    packet[6] = resetTo.kind;
    packet[7] = resetTo.byte7;
    packet[8] = resetTo.fsVersion;
    return packet;
}

std::optional<ResetTo> parseResetTo(const Packet& packet) {
    if (packet.id() != PKT_RESET_TO) {
        return std::nullopt;
    }
    return ResetTo{packet[6], packet[7], packet[8]};
}

}  // namespace qelto::protocol
