// The usage data a unit hands out under CMD_GET_REPORT: its running counters, one block of four
// pumps at a time, and its usage log, seven 32-bit words per reply.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "protocol/packet.h"

namespace qelto::protocol {

// One program-and-pump counter as the unit sends it: the summed dose is split into a 16-bit
// high part and two single bytes, which is also how the report keeps it.
struct WireUsageCell {
    std::uint16_t cycles = 0;
    std::uint16_t timeHigh = 0;
    std::uint8_t timeMiddle = 0;
    std::uint8_t timeLow = 0;
    friend bool operator==(const WireUsageCell&, const WireUsageCell&) = default;
};

// A totals reply covers pumps 4b .. 4b + 3 of block b; block 2 carries two cells past pump 10
// that mean nothing.
inline constexpr std::size_t kCellsPerTotalsBlock = 4;
inline constexpr std::uint8_t kTotalsBlocks = 3;

struct TotalsReply {
    std::uint8_t block = 0;
    std::array<WireUsageCell, kCellsPerTotalsBlock> cells{};
    friend bool operator==(const TotalsReply&, const TotalsReply&) = default;
};

inline constexpr std::size_t kLogWordsPerReply = 7;
using LogWords = std::array<std::uint32_t, kLogWordsPerReply>;
// Bytes 6..8 stay free for the poll's echo, so the first word stands apart from the rest.
inline constexpr std::array<std::size_t, kLogWordsPerReply> kLogWordOffsets{2,  9,  13, 17,
                                                                            21, 25, 29};

// Totals: the unit's program number (0 = its all-programs total, 1-20) and the block.
Packet makeTotalsRequest(std::uint8_t unitProgram, std::uint8_t block);
// Log search: `first` restarts the unit at its newest word; the low byte of the last day asked
// for rides along.
Packet makeLogRequest(bool first, std::uint8_t toDayLow);

Packet makeTotalsReply(const TotalsReply& reply);
std::optional<TotalsReply> parseTotalsReply(const Packet& packet);
Packet makeLogReply(const LogWords& words);
std::optional<LogWords> parseLogReply(const Packet& packet);

}  // namespace qelto::protocol
