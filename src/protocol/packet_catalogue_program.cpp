#include "protocol/packet_catalogue_program.h"

#include <stdexcept>

#include "protocol/packet_catalogue_fields.h"

namespace qelto::protocol {
namespace {

// Each pump of a half takes five bytes: enabled, two run bytes, delay seconds, delay minutes.
constexpr std::size_t kProgPumpsAt = 8;
// Each calibration takes five bytes: volume (two), day, month, year.
constexpr std::size_t kCalPumpsAt = 7;
constexpr std::size_t kPumpStride = 5;

// Triggers 1..8 have a byte per program; the unit packs triggers 9 and 10 of four programs into
// each of the five bytes after those.
constexpr std::size_t kLowTriggersAt = 6;
constexpr std::size_t kHighTriggersAt = 26;
constexpr std::size_t kLowTriggers = 8;

struct FlagBit {
    std::size_t byte;
    unsigned bit;
};

FlagBit enProgsBit(std::size_t program, std::size_t trigger) {
    if (trigger < kLowTriggers) {
        return {kLowTriggersAt + program, static_cast<unsigned>(trigger)};
    }
    return {kHighTriggersAt + program / 4,
            static_cast<unsigned>(2 * (program % 4) + (trigger - kLowTriggers))};
}

}  // namespace

Packet makeProgDataHalf(const ProgDataHalf& data) {
    if (data.program > kMaxProgDataProgram || data.half > 1) {
        throw std::out_of_range("program data half out of range");
    }
    Packet packet = packetWithId(progDataId(data.program, data.half));
    packet[6] = data.trigger;
    packet[7] = data.setting;
    for (std::size_t j = 0; j < kPumpsPerHalf; ++j) {
        const std::size_t at = kProgPumpsAt + kPumpStride * j;
        const ProgPump& pump = data.pumps[j];
        packet[at] = pump.enabled;
        packet[at + 1] = pump.run0;
        packet[at + 2] = pump.run1;
        packet[at + 3] = pump.delaySeconds;
        packet[at + 4] = pump.delayMinutes;
    }
    return packet;
}

std::optional<ProgDataHalf> parseProgDataHalf(const Packet& packet) {
    if (!isProgDataId(packet.id())) {
        return std::nullopt;
    }
    ProgDataHalf data;
    const auto k = static_cast<std::uint8_t>(packet.id() - PKT_PROG_FIRST);
    data.program = static_cast<std::uint8_t>(k / 2);
    data.half = static_cast<std::uint8_t>(k % 2);
    data.trigger = packet[6];
    data.setting = packet[7];
    for (std::size_t j = 0; j < kPumpsPerHalf; ++j) {
        const std::size_t at = kProgPumpsAt + kPumpStride * j;
        data.pumps[j] =
            ProgPump{packet[at], packet[at + 1], packet[at + 2], packet[at + 3], packet[at + 4]};
    }
    return data;
}

std::uint8_t calibrationYearByte(int year) {
    return year >= 2000 && year <= 2098 ? static_cast<std::uint8_t>(year - 2000) : std::uint8_t{0};
}

Packet makePumpCal(const PumpCalGroup& group) {
    if (group.group > 1) {
        throw std::out_of_range("pump calibration group out of range");
    }
    Packet packet = packetWithId(PKT_PUMPCAL);
    packet[6] = group.group;
    for (std::size_t j = 0; j < kPumpsPerHalf; ++j) {
        const std::size_t at = kCalPumpsAt + kPumpStride * j;
        const PumpCalEntry& pump = group.pumps[j];
        packet.setU16(at, pump.volume);
        packet[at + 2] = pump.day;
        packet[at + 3] = pump.month;
        packet[at + 4] = pump.year;
    }
    return packet;
}

std::optional<PumpCalGroup> parsePumpCal(const Packet& packet) {
    if (packet.id() != PKT_PUMPCAL || packet[6] > 1) {
        return std::nullopt;
    }
    PumpCalGroup group;
    group.group = packet[6];
    for (std::size_t j = 0; j < kPumpsPerHalf; ++j) {
        const std::size_t at = kCalPumpsAt + kPumpStride * j;
        group.pumps[j] =
            PumpCalEntry{packet.u16(at), packet[at + 2], packet[at + 3], packet[at + 4]};
    }
    return group;
}

Packet makeEnProgs(const EnProgs& map) {
    Packet packet = packetWithId(PKT_EN_PROGS);
    for (std::size_t p = 0; p < kEnProgsPrograms; ++p) {
        for (std::size_t t = 0; t < kEnProgsTriggers; ++t) {
            if (!map.enabled[p][t]) {
                continue;
            }
            const FlagBit flag = enProgsBit(p, t);
            packet[flag.byte] = static_cast<std::uint8_t>(packet[flag.byte] | (1u << flag.bit));
        }
    }
    return packet;
}

std::optional<EnProgs> parseEnProgs(const Packet& packet) {
    if (packet.id() != PKT_EN_PROGS) {
        return std::nullopt;
    }
    EnProgs map;
    for (std::size_t p = 0; p < kEnProgsPrograms; ++p) {
        for (std::size_t t = 0; t < kEnProgsTriggers; ++t) {
            const FlagBit flag = enProgsBit(p, t);
            map.enabled[p][t] = ((unsigned{packet[flag.byte]} >> flag.bit) & 1u) != 0;
        }
    }
    return map;
}

}  // namespace qelto::protocol
