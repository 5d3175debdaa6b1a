// What an older unit of the legacy serial protocol holds, kept as the unit sends it: times of the
// configuration stream in seconds, times of the dishwash stream as minutes and seconds, the type
// and mode of a dishwash unit 1-based as on the wire. Texts are Latin-1 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qelto::sim {

enum class LegacyKind { Laundry, Dishwash };

inline constexpr std::size_t kLegacyCustomerLineSize = 17;
inline constexpr std::size_t kLegacyConfigStreamSize = 66;
inline constexpr std::size_t kLegacyProgramNameLength = 25;
inline constexpr std::size_t kLegacyCommentsMax = 512;
inline constexpr std::size_t kDishwashGeneralSize = 40;

using MinSecPair = std::array<std::uint8_t, 2>;  // minutes, seconds

struct LegacyLaundryConfig {
    std::array<std::string, 2> customerLines;
    std::uint8_t unitType = 3;  // the old numbering, as the unit reports it
    std::array<std::uint8_t, 9> spareText{};
    std::uint8_t pumpSpeed = 80;
    std::uint8_t accessCode = 1;
    std::uint8_t pulseCount = 1;
    std::uint16_t resetDelay = 20;
    std::uint16_t flushValveTime = 0;
    std::uint16_t auxTime = 0;
    MinSecPair runTime{0, 45};
    MinSecPair delayTime{0, 0};
    std::uint8_t resetDelayOff = 0;
    std::uint8_t byte64 = 0;
    std::array<std::uint16_t, 3> pins{6179, 7159, 7318};
    std::uint8_t auxByte = 0;
};

struct DishwashPump {
    std::uint8_t speed = 100;
    MinSecPair run{0, 4};
    MinSecPair off{0, 4};
    std::uint8_t pulse = 1;
    std::array<std::uint8_t, 5> flow{};
};

struct DishwashOutput {
    std::uint8_t percent = 100;
    MinSecPair time{0, 0};
    MinSecPair duration{0, 0};
};

struct DishwashSettings {
    std::array<std::string, 2> customerLines;
    std::array<std::uint16_t, 3> pins{6179, 7159, 7318};
    std::uint8_t typeByte = 1;
    std::uint8_t modeByte = 1;
    std::uint8_t icMode = 1;  // 1 signalled, 2 auto, 3 power-up, other off
    MinSecPair icRun{0, 30};
    std::uint8_t icPulse = 1;
    MinSecPair icDelay{0, 0};
    std::uint8_t ic2Mode = 0;  // the second block only goes out from software 1.10 on
    MinSecPair ic2Run{0, 0};
    std::uint8_t ic2Pulse = 0;
    MinSecPair ic2Delay{0, 0};
    std::uint8_t probeMode = 1;
    MinSecPair probeInitialDelay{3, 0};
    std::uint8_t probeConcentration = 170;
    MinSecPair probeAlarmDelay{5, 0};
    std::uint8_t probeAlarmOff = 0;
    std::uint8_t numPumps = 3;
    std::array<DishwashPump, 3> pumps{};
    std::uint8_t ioCheckbox = 0;
    std::array<DishwashOutput, 4> outputs{};
    std::uint8_t propRunning = 0;
    std::uint8_t propTo = 0;
    std::array<std::uint8_t, 8> spare{};
};

// What a legacy laundry unit counts, reported after 0xF2.
struct LegacyPumpUsage {
    std::uint16_t hours = 0;
    std::uint8_t minutes = 0;
    std::uint8_t seconds = 0;
    std::uint16_t flow = 0;
    std::array<std::uint8_t, 3> calibrated{};  // day, month, year - 2000
    std::uint16_t cycles = 0;
};

struct LegacyProgramUsage {
    bool used = false;
    std::array<std::array<std::uint8_t, 3>, 10> time{};  // hours (one byte), minutes, seconds
    std::array<std::uint16_t, 10> cycles{};
};

inline constexpr std::size_t kLegacyUsagePumps = 10;
inline constexpr std::size_t kLegacyDumpTextMax = 64 * 1024;

struct LaundryUsage {
    std::uint8_t pumpCount = 4;
    std::uint16_t totalCycles = 0;
    std::array<LegacyPumpUsage, kLegacyUsagePumps> pumps{};
    std::array<LegacyProgramUsage, 20> programs{};
};

struct LegacyMemory {
    LegacyKind kind = LegacyKind::Laundry;
    // The three characters a sign-on reports; none for the first units, which stay silent.
    std::optional<std::array<char, 3>> version;
    std::uint16_t password = 1234;
    // What a dishwash unit reports at sign-on (the legacy laundry unit reports config.unitType).
    std::uint8_t signOnType = 20;
    LegacyLaundryConfig config;
    DishwashSettings dishwash;
    std::array<std::string, 20> programNames;
    std::string comments;
    std::uint8_t spareByte = 0;
    std::uint32_t thirdCommandCount = 0;
    LaundryUsage usage;
    // What the unit prints about itself after 0xFE, without the closing NUL.
    std::string dumpText = "QELTO LEGACY UNIT\r\nMEMORY OK\r\n";
};

// Names, comments and the spare byte came with software 1.10 (the characters 1, 1, 0).
bool legacyHasNames(const LegacyMemory& memory);

// The 66-byte configuration stream, both ways.
std::vector<std::uint8_t> encodeConfigStream(const LegacyLaundryConfig& config);
LegacyLaundryConfig decodeConfigStream(const std::vector<std::uint8_t>& stream);

// The laundry unit's answer to 0xF2: the counters, then its general data (40 bytes). A pump
// count above ten goes out as it is, for tests of a faulty unit, with ten pumps of data.
std::vector<std::uint8_t> encodeLaundryUsage(const LegacyMemory& memory);

// The dishwash unit's answer to 0x7A: general data (40 bytes), then the settings stream.
// clockHours and clockMinutes are the unit's time of day.
std::vector<std::uint8_t> encodeDishwashReport(const LegacyMemory& memory, std::uint8_t clockHours,
                                               std::uint8_t clockMinutes);

}  // namespace qelto::sim
