// Globals, calibration, program data, the enabled-trigger map, automatic flush and reset-to.
#include "protocol/packet.h"
#include "sim/unit_packets.h"

namespace qelto::sim {

using namespace protocol;

Packet stampedReply(const LaundryMemory& memory, std::uint8_t id) {
    Packet reply;
    reply.setId(id);
    reply.setU32(2, memory.identity.serial);
    return reply;
}

Packet identityReply(const LaundryMemory& memory, std::uint8_t id) {
    Packet reply = stampedReply(memory, id);
    const Identity& identity = memory.identity;
    reply[6] = identity.productCode;
    reply[9] = identity.unitType;
    for (std::size_t i = 0; i < 3; ++i) {
        reply[11 + i] = static_cast<std::uint8_t>(identity.version.at(i));
    }
    reply.setU32(19, identity.processorSerial);
    return reply;
}

Packet globalsReply(const LaundryMemory& memory, std::uint8_t block) {
    const GlobalSettings& g = memory.globals;
    if (block == 0) {
        Packet reply = stampedReply(memory, PKT_GLOBAL1);
        reply[9] = memory.identity.unitType;
        reply[10] = g.language;
        for (std::size_t i = 0; i < 3; ++i) {
            reply.setU16(11 + 2 * i, g.pins.at(i));
        }
        reply[17] = g.accessCode;
        reply.setU16(18, g.auxTime);
        reply[20] = g.auxByte;
        reply.setU16(21, g.resetDelay);
        reply[23] = g.resetDelayOff;
        reply[24] = g.resetDelayLastInput;
        reply[25] = g.optionFlags;
        for (std::size_t i = 0; i < 3; ++i) {
            reply[26 + i] = g.block1Spare.at(i);
        }
        reply[29] = g.viewMode;
        reply[30] = g.flushType;
        reply[31] = g.relayMode;
        reply[32] = g.safetyStopMode;
        return reply;
    }
    // Block 2 fills bytes 6..31; the serial number still fits in front of it.
    Packet reply = stampedReply(memory, PKT_GLOBAL2);
    for (std::size_t i = 0; i < kPumps; ++i) {
        reply[6 + i] = g.pumpSpeeds.at(i);
        reply[22 + i] = g.pumpSpeedRanges.at(i);
    }
    reply.setU16(16, g.flushValveTime);
    reply.setU16(18, g.block2Words[0]);
    reply.setU16(20, g.block2Words[1]);
    return reply;
}

bool storeGlobals(const Packet& request, LaundryMemory& memory) {
    GlobalSettings& g = memory.globals;
    if (request.id() == PKT_GLOBAL1) {
        memory.identity.unitType = request[9];
        g.language = request[10];
        for (std::size_t i = 0; i < 3; ++i) {
            g.pins.at(i) = request.u16(11 + 2 * i);
        }
        g.accessCode = request[17];
        g.auxTime = request.u16(18);
        g.auxByte = request[20];
        g.resetDelay = request.u16(21);
        g.resetDelayOff = request[23];
        g.resetDelayLastInput = request[24];
        g.optionFlags = request[25];
        for (std::size_t i = 0; i < 3; ++i) {
            g.block1Spare.at(i) = request[26 + i];
        }
        g.viewMode = request[29];
        g.flushType = request[30];
        g.relayMode = request[31];
        g.safetyStopMode = request[32];
        return true;
    }
    if (request.id() == PKT_GLOBAL2) {
        for (std::size_t i = 0; i < kPumps; ++i) {
            g.pumpSpeeds.at(i) = request[6 + i];
            g.pumpSpeedRanges.at(i) = request[22 + i];
        }
        g.flushValveTime = request.u16(16);
        g.block2Words[0] = request.u16(18);
        g.block2Words[1] = request.u16(20);
        return true;
    }
    return false;
}

std::optional<Packet> calibrationReply(const LaundryMemory& memory, std::uint8_t group) {
    if (group > 1) {
        return std::nullopt;
    }
    Packet reply = stampedReply(memory, PKT_PUMPCAL);
    reply[6] = group;
    for (std::size_t j = 0; j < 5; ++j) {
        const PumpCalibration& cal = memory.calibration.at(5 * group + j);
        reply.setU16(7 + 5 * j, cal.volume);
        reply[9 + 5 * j] = cal.day;
        reply[10 + 5 * j] = cal.month;
        reply[11 + 5 * j] = cal.year;
    }
    return reply;
}

bool storeCalibration(const Packet& request, LaundryMemory& memory) {
    const std::uint8_t group = request[6];
    if (group > 1) {
        return false;
    }
    for (std::size_t j = 0; j < 5; ++j) {
        PumpCalibration& cal = memory.calibration.at(5 * group + j);
        cal.volume = request.u16(7 + 5 * j);
        cal.day = request[9 + 5 * j];
        cal.month = request[10 + 5 * j];
        cal.year = request[11 + 5 * j];
    }
    return true;
}

namespace {

// Identifiers 104 and 105 would be a 21st program, which no unit has.
bool programDataIdValid(std::uint8_t id) {
    return id >= PKT_PROG_FIRST && id < PKT_PROG_FIRST + 2 * kPrograms;
}

}  // namespace

std::optional<Packet> programDataReply(const LaundryMemory& memory, std::uint8_t id,
                                       std::uint8_t trigger) {
    if (!programDataIdValid(id) || trigger >= kTriggers) {
        return std::nullopt;
    }
    const std::size_t program = (id - PKT_PROG_FIRST) / 2u;
    const std::size_t half = (id - PKT_PROG_FIRST) % 2u;
    const TriggerData& data = memory.programs.at(program).at(trigger);
    Packet reply = stampedReply(memory, id);
    reply[6] = trigger;
    reply[7] = data.setting;
    for (std::size_t j = 0; j < 5; ++j) {
        const PumpStep& step = data.pumps.at(5 * half + j);
        reply[8 + 5 * j] = step.enabled;
        reply[9 + 5 * j] = step.run[0];
        reply[10 + 5 * j] = step.run[1];
        reply[11 + 5 * j] = step.delaySeconds;
        reply[12 + 5 * j] = step.delayMinutes;
    }
    return reply;
}

bool storeProgramData(const Packet& request, LaundryMemory& memory) {
    const std::uint8_t id = request.id();
    const std::uint8_t trigger = request[6];
    if (!programDataIdValid(id) || trigger >= kTriggers) {
        return false;
    }
    const std::size_t program = (id - PKT_PROG_FIRST) / 2u;
    const std::size_t half = (id - PKT_PROG_FIRST) % 2u;
    TriggerData& data = memory.programs.at(program).at(trigger);
    data.setting = request[7];
    for (std::size_t j = 0; j < 5; ++j) {
        PumpStep& step = data.pumps.at(5 * half + j);
        step.enabled = request[8 + 5 * j];
        step.run = {request[9 + 5 * j], request[10 + 5 * j]};
        step.delaySeconds = request[11 + 5 * j];
        step.delayMinutes = request[12 + 5 * j];
    }
    return true;
}

Packet enabledTriggersReply(const LaundryMemory& memory) {
    Packet reply = stampedReply(memory, PKT_EN_PROGS);
    for (std::size_t p = 0; p < kPrograms; ++p) {
        for (std::size_t t = 0; t < kTriggers; ++t) {
            if (!triggerProgrammed(memory, p, t)) {
                continue;
            }
            // Triggers 1..8 have a byte per program; 9 and 10 share a byte among four programs.
            if (t < 8) {
                reply[6 + p] = static_cast<std::uint8_t>(reply[6 + p] | (1u << t));
            } else {
                const std::size_t bit = 2 * (p % 4) + (t - 8);
                reply[26 + p / 4] = static_cast<std::uint8_t>(reply[26 + p / 4] | (1u << bit));
            }
        }
    }
    return reply;
}

Packet autoFlushReply(const LaundryMemory& memory) {
    Packet reply = stampedReply(memory, PKT_AUTOFS);
    reply[6] = memory.autoFlush.mode;
    reply.setU16(7, memory.autoFlush.time);
    reply[9] = memory.autoFlush.acceptTime;
    return reply;
}

void storeAutoFlush(const Packet& request, LaundryMemory& memory) {
    memory.autoFlush.mode = request[6];
    memory.autoFlush.time = request.u16(7);
    memory.autoFlush.acceptTime = request[9];
}

Packet resetToReply(const LaundryMemory& memory) {
    Packet reply = stampedReply(memory, PKT_RESET_TO);
    reply[6] = memory.resetTo.kind;
    reply[7] = memory.resetTo.value;
    reply[8] = memory.resetTo.fsVersion;
    return reply;
}

bool storeResetTo(const Packet& request, LaundryMemory& memory) {
    if (request[6] > 2) {
        return false;
    }
    // The feature version is the unit's own; a PC cannot change it.
    memory.resetTo.kind = request[6];
    memory.resetTo.value = request[7];
    return true;
}

}  // namespace qelto::sim
