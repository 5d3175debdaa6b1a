// Program data, pump calibration and the map of enabled triggers: the packets that carry the
// dosing steps of the twenty wash programs.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "protocol/packet.h"

namespace qelto::protocol {

inline constexpr std::size_t kPumpsPerHalf = 5;
inline constexpr std::size_t kEnProgsPrograms = 20;
inline constexpr std::size_t kEnProgsTriggers = 10;

// One pump's step in a program-data packet. The two run bytes carry either a run time (seconds,
// minutes) or a 16-bit dose: the pump is dosed by volume when its calibration volume is not 0.
// Both readings are kept as the two raw bytes, so a step always goes back as it came.
struct ProgPump {
    std::uint8_t enabled = 0;
    std::uint8_t run0 = 0;
    std::uint8_t run1 = 0;
    std::uint8_t delaySeconds = 0;
    std::uint8_t delayMinutes = 0;

    std::uint8_t runSeconds() const { return run0; }
    std::uint8_t runMinutes() const { return run1; }
    std::uint16_t dose16() const { return static_cast<std::uint16_t>(run0 | (run1 << 8)); }
    void setRunTime(std::uint8_t minutes, std::uint8_t seconds) {
        run0 = seconds;
        run1 = minutes;
    }
    void setDose(std::uint16_t dose) {
        run0 = static_cast<std::uint8_t>(dose);
        run1 = static_cast<std::uint8_t>(dose >> 8);
    }
    friend bool operator==(const ProgPump&, const ProgPump&) = default;
};

// One half (0: pumps 1-5, 1: pumps 6-10) of one trigger of one program. The program and half
// make up the packet identifier.
struct ProgDataHalf {
    std::uint8_t program = 0;  // 0-based; readers accept up to 20
    std::uint8_t half = 0;
    std::uint8_t trigger = 0;  // 0-based
    std::uint8_t setting = 0;  // the trigger's own byte: its pulse count
    std::array<ProgPump, kPumpsPerHalf> pumps{};
    friend bool operator==(const ProgDataHalf&, const ProgDataHalf&) = default;
};

// Throws std::out_of_range for a program above 20 or a half above 1.
Packet makeProgDataHalf(const ProgDataHalf& data);
// Accepts the identifiers 64..105; program, half and trigger come from the packet itself.
std::optional<ProgDataHalf> parseProgDataHalf(const Packet& packet);

// One pump's calibration: its flow and the date it was calibrated.
struct PumpCalEntry {
    std::uint16_t volume = 0;  // millilitres per minute; 0 marks a time-dosed pump
    std::uint8_t day = 0;
    std::uint8_t month = 0;
    std::uint8_t year = 0;  // year - 2000
    friend bool operator==(const PumpCalEntry&, const PumpCalEntry&) = default;
};

// PKT_PUMPCAL: group 0 is pumps 1-5, group 1 pumps 6-10.
struct PumpCalGroup {
    std::uint8_t group = 0;
    std::array<PumpCalEntry, kPumpsPerHalf> pumps{};
    friend bool operator==(const PumpCalGroup&, const PumpCalGroup&) = default;
};

// The year byte of a calibration date: years outside 2000..2098 are sent as 0.
std::uint8_t calibrationYearByte(int year);

// Throws std::out_of_range for a group above 1.
Packet makePumpCal(const PumpCalGroup& group);
// Rejects a group other than 0 and 1.
std::optional<PumpCalGroup> parsePumpCal(const Packet& packet);

// PKT_EN_PROGS: which triggers of which programs hold any step, so that a read asks only for
// those. enabled[program][trigger], both 0-based.
struct EnProgs {
    std::array<std::array<bool, kEnProgsTriggers>, kEnProgsPrograms> enabled{};
    friend bool operator==(const EnProgs&, const EnProgs&) = default;
};

Packet makeEnProgs(const EnProgs& map);
std::optional<EnProgs> parseEnProgs(const Packet& packet);

}  // namespace qelto::protocol
