// The unit-wide settings packets: the two global blocks, automatic flush and reset-to. The same
// layout serves the PC's write request and the unit's reply to the matching poll.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "protocol/packet.h"

namespace qelto::protocol {

// PKT_GLOBAL1, answered for CMD_GET_GLOBAL block 0. Times are in seconds.
struct GlobalBlock1 {
    std::uint32_t unitSerial = 0;  // a reply carries the unit's serial number; 0 in a request
    std::uint8_t unitType = 0;
    std::uint8_t language = 0;  // the unit's own language code
    std::array<std::uint16_t, 3> pins{};
    std::uint8_t accessCode = 0;
    std::uint16_t auxTime = 0;
    std::uint8_t auxByte = 0;
    std::uint16_t resetDelayTime = 0;
    std::uint8_t resetDelayOff = 0;        // non-zero: the reset delay feature is off
    std::uint8_t resetDelayLastInput = 0;  // 1: from the last input, 0: from the last pump
    bool optionFlag0 = false;
    bool optionFlag1 = false;
    std::array<std::uint8_t, 3> bytes26to28{};  // kept from a reply; 0 in a request
    std::uint8_t viewMode = 0;
    std::uint8_t flushType = 0;  // 0: during and after, 1: after only
    std::uint8_t relayMode = 0;
    std::uint8_t safetyStopMode = 0;
    friend bool operator==(const GlobalBlock1&, const GlobalBlock1&) = default;
};

// PKT_GLOBAL2, answered for CMD_GET_GLOBAL block 1.
struct GlobalBlock2 {
    std::uint32_t unitSerial = 0;                // as in block 1
    std::array<std::uint8_t, 10> pumpSpeed{};    // percent
    std::uint16_t flushValveTime = 0;            // seconds
    std::array<std::uint16_t, 2> words18to21{};  // kept from a reply; 0 in a request
    // Speed ranges as the configuration numbers them (0..3); the packet shifts them by one.
    std::array<std::uint8_t, 10> pumpSpeedRange{};
    friend bool operator==(const GlobalBlock2&, const GlobalBlock2&) = default;
};

// The unit numbers speed ranges one higher than the configuration does, with range 3 wrapping
// round to 0.
std::uint8_t speedRangeToWire(std::uint8_t range);
std::uint8_t speedRangeFromWire(std::uint8_t wire);

Packet makeGlobalBlock1(const GlobalBlock1& block);
std::optional<GlobalBlock1> parseGlobalBlock1(const Packet& packet);
Packet makeGlobalBlock2(const GlobalBlock2& block);
std::optional<GlobalBlock2> parseGlobalBlock2(const Packet& packet);

// PKT_AUTOFS: the automatic flush-valve settings.
struct AutoFs {
    std::uint8_t mode = 0;
    std::uint16_t time = 0;  // seconds
    std::uint8_t acceptTime = 0;
    friend bool operator==(const AutoFs&, const AutoFs&) = default;
};

Packet makeAutoFs(const AutoFs& settings);
std::optional<AutoFs> parseAutoFs(const Packet& packet);

// PKT_RESET_TO: which program the unit returns to after a reset.
enum ResetKind : std::uint8_t {
    kResetToChosenProgram = 0,
    kResetToLastProgram = 1,
    kResetToProgram00 = 2,
};

struct ResetTo {
    std::uint8_t kind = kResetToLastProgram;
    std::uint8_t byte7 = 1;      // 1 for the fixed kinds, the chosen program's number otherwise
    std::uint8_t fsVersion = 0;  // only the unit reports it; the PC sends 0
    friend bool operator==(const ResetTo&, const ResetTo&) = default;
};

// The configuration's resetOption: 0 is the last program, 1 is program 00, n >= 2 is the chosen
// program n - 1.
ResetTo resetToForOption(std::uint8_t resetOption);
std::uint8_t resetOptionOf(const ResetTo& resetTo);

// resetToForOption gives fsVersion 0, which is what a request from the PC carries.
Packet makeResetTo(const ResetTo& resetTo);
std::optional<ResetTo> parseResetTo(const Packet& packet);

}  // namespace qelto::protocol
