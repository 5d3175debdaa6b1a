// What a simulated laundry unit holds in its settings memory, laid out as the unit keeps it: times
// in seconds, speed ranges as they travel, the two run bytes of a pump step uninterpreted (a
// time-dosed pump keeps seconds and minutes there, a volume-dosed one a 16-bit dose), comments as
// raw 25-byte blocks in the order they arrived. Texts are Latin-1 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/usage_memory.h"

namespace qelto::sim {

inline constexpr std::size_t kPrograms = 20;
inline constexpr std::size_t kTriggers = 10;
inline constexpr std::size_t kPumps = 10;
inline constexpr std::size_t kCommentBlockSize = 25;
inline constexpr std::size_t kMaxCommentBlocks = 100;
inline constexpr std::size_t kProgramNameLength = 25;
inline constexpr std::size_t kPumpNameLength = 25;
inline constexpr std::size_t kCustomerLineLength = 16;
inline constexpr std::size_t kDescriptionLength = 17;
inline constexpr std::size_t kMaxPumpRunsKept = 100;

struct PumpStep {
    std::uint8_t enabled = 0;
    std::array<std::uint8_t, 2> run{};  // run seconds and minutes, or the dose low and high byte
    std::uint8_t delaySeconds = 0;
    std::uint8_t delayMinutes = 0;
    friend bool operator==(const PumpStep&, const PumpStep&) = default;
};

struct TriggerData {
    std::uint8_t setting = 0;  // the trigger's own byte: its pulse count
    std::array<PumpStep, kPumps> pumps{};
    friend bool operator==(const TriggerData&, const TriggerData&) = default;
};

using ProgramData = std::array<std::array<TriggerData, kTriggers>, kPrograms>;

struct PumpCalibration {
    std::uint16_t volume = 0;  // millilitres per minute; 0 = the pump is time-dosed
    std::uint8_t day = 0;
    std::uint8_t month = 0;
    std::uint8_t year = 0;  // year - 2000
    friend bool operator==(const PumpCalibration&, const PumpCalibration&) = default;
};

struct Identity {
    std::uint32_t serial = 123456789;
    std::uint8_t productCode = 1;  // 1 = laundry unit; a scan skips a unit that answers 0
    std::uint8_t unitType = 3;
    std::array<char, 3> version{'1', '3', '0'};  // major, minor, sub as characters
    std::uint32_t processorSerial = 0x00C0FFEE;
};

struct GlobalSettings {
    std::uint8_t language = 0;
    std::array<std::uint16_t, 3> pins{6179, 7159, 7318};
    std::uint8_t accessCode = 1;
    std::uint16_t auxTime = 0;  // seconds
    std::uint8_t auxByte = 0;
    std::uint16_t resetDelay = 20;  // seconds
    std::uint8_t resetDelayOff = 0;
    std::uint8_t resetDelayLastInput = 0;
    std::uint8_t optionFlags = 3;  // bit 0 and bit 1
    std::array<std::uint8_t, 3> block1Spare{};
    std::uint8_t viewMode = 1;
    std::uint8_t flushType = 0;
    std::uint8_t relayMode = 0;
    std::uint8_t safetyStopMode = 0;
    std::array<std::uint8_t, kPumps> pumpSpeeds{80, 80, 80, 80, 80, 80, 80, 80, 80, 80};
    std::uint16_t flushValveTime = 0;  // seconds
    std::array<std::uint16_t, 2> block2Words{};
    std::array<std::uint8_t, kPumps> pumpSpeedRanges{};  // as on the wire: 0 is range 3
};

struct AutoFlush {
    std::uint8_t mode = 0;
    std::uint16_t time = 30;  // seconds
    std::uint8_t acceptTime = 1;
};

// Kept as the PC sends it: kind 1 = back to the last program, 2 = to program 00, 0 = to the
// program in value.
struct ResetTo {
    std::uint8_t kind = 0;
    std::uint8_t value = 1;
    std::uint8_t fsVersion = 0;
};

struct Counters {
    std::uint32_t cycles = 0;
    std::uint32_t washes = 0;
};

struct PumpRun {
    std::uint8_t pump = 0;
    std::uint8_t command = 0;
    std::uint8_t seconds = 0;
    std::uint8_t speed = 0;
};

using CommentBlock = std::array<std::uint8_t, kCommentBlockSize>;

struct LaundryMemory {
    Identity identity;
    std::uint16_t accessPin =
        1234;  // what CMD_UNLOCK must carry; not one of the three globals PINs
    bool hasClock = true;
    std::int64_t clockOffset = 0;  // seconds between the unit's clock and the host's
    GlobalSettings globals;
    std::array<PumpCalibration, kPumps> calibration{};
    ProgramData programs{};
    std::array<std::string, kPrograms> programNames;
    std::array<std::string, kPumps> pumpNames;
    std::array<std::string, 2> customerLines;
    std::vector<CommentBlock> comments;
    std::string description;
    std::string serialText;  // the ten characters last set with PKT_SERIAL_NUM
    std::string identificationText;
    AutoFlush autoFlush;
    ResetTo resetTo;
    Counters counters;
    std::vector<PumpRun> pumpRuns;  // the most recent manual pump commands, oldest first
    UsageMemory usage;
};

// The setting byte of an erased trigger. Units from software 2.0.5 on count one pulse by
// default, older ones none; the PC leaves out triggers that match it after an erase.
std::uint8_t erasedTriggerSetting(const Identity& identity);

// A fresh unit: factory settings, erased program data, no names.
LaundryMemory factoryMemory(const Identity& identity, std::uint16_t accessPin);

void eraseProgramData(LaundryMemory& memory);  // CMD_ERASE_FORMULA
void eraseNames(LaundryMemory& memory);        // CMD_ERASE_NAMES: program and pump names, comments
// PKT_ERASE_EEPROM: every setting back to the factory. Identity, access PIN, clock and counters
// are not settings and survive.
void eraseSettingsMemory(LaundryMemory& memory);

// The unit counts a trigger as programmed when a pump of it is enabled or its setting byte is
// no longer the erased one; the enabled-trigger map reports exactly these.
bool triggerProgrammed(const LaundryMemory& memory, std::size_t program, std::size_t trigger);

}  // namespace qelto::sim
