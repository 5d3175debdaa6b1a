// The settings a legacy dishwash unit reports after command 0x7A: its general data (customer lines
// and PINs), then the settings stream, which from software 1.10 on carries a second
// initial-charge block. Parsed byte by byte from whatever source the caller has.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/dishwash_data.h"
#include "protocol/verify.h"

namespace qelto::legacy {

// Gives the next byte; false when none comes (a time-out on the wire, the end of a buffer).
using ByteSource = std::function<bool(std::uint8_t&)>;

// Two bytes as the stream sends a time: minutes then seconds (for the outputs, the number shown
// first, then the second one).
using WirePair = std::array<std::uint8_t, 2>;

struct DishwashGeneral {
    std::array<std::string, 2> customerLines;  // Latin-1, up to the first NUL of 17 bytes
    std::array<std::uint16_t, 3> pins{};
};

struct DishwashPumpStream {
    std::uint8_t speed = 0;
    WirePair run{};
    WirePair off{};
    std::uint8_t pulse = 0;
    std::array<std::uint8_t, 5> flow{};
};

struct DishwashOutputStream {
    std::uint8_t percent = 0;
    WirePair time{};
    WirePair duration{};
};

struct DishwashStream {
    std::uint8_t typeByte = 0;  // 1-based on the wire
    std::uint8_t modeByte = 0;  // 1-based on the wire
    std::uint8_t icMode = 0;    // 1 signalled, 2 auto, 3 power-up, anything else off
    WirePair icRun{};
    std::uint8_t icPulse = 0;
    WirePair icDelay{};
    bool secondIc = false;
    std::uint8_t ic2Mode = 0;
    WirePair ic2Run{};
    std::uint8_t ic2Pulse = 0;
    WirePair ic2Delay{};
    std::uint8_t probeMode = 0;
    WirePair probeInitialDelay{};
    std::uint8_t probeConcentration = 0;
    WirePair probeAlarmDelay{};
    std::uint8_t probeAlarmOff = 0;
    std::uint8_t numPumps = 0;
    std::array<DishwashPumpStream, 3> pumps{};
    std::uint8_t ioCheckbox = 0;
    std::array<DishwashOutputStream, 4> outputs{};
    std::uint8_t propRunning = 0;
    std::uint8_t propTo = 0;
    std::uint8_t clockHours = 0;
    std::uint8_t clockMinutes = 0;
    std::array<std::uint8_t, 8> spare{};
};

inline constexpr std::size_t kDishwashGeneralSize = 40;

// False as soon as a byte does not come; the fields read so far stay filled.
bool parseDishwashGeneral(const ByteSource& in, DishwashGeneral& out);
bool parseDishwashStream(const ByteSource& in, bool secondIcBlock, DishwashStream& out);

// The record's initial-charge mode for a stream: the wire counts one higher once the unit has a
// mode other than the first and the charge is not off.
std::uint8_t storedIcMode(const DishwashStream& stream);

// Fills the record from the stream. A type byte other than 1 or 2 and a mode byte outside 1..4
// leave the record's type and mode as they were.
void storeDishwashStream(const DishwashStream& stream, model::CDishWashViewData& record);

// One difference per setting where the unit and the record differ; empty when they agree.
std::vector<protocol::Difference> compareDishwashStream(const DishwashStream& stream,
                                                        const model::CDishWashViewData& record);

// "pump 2 speed: unit 75, document 100"
std::string differenceLine(const protocol::Difference& difference);

}  // namespace qelto::legacy
