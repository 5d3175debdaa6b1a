#include "protocol/packet_catalogue_report.h"

#include "protocol/packet_catalogue_commands.h"
#include "protocol/packet_catalogue_fields.h"

namespace qelto::protocol {
namespace {

constexpr std::size_t kFirstCellByte = 8;
constexpr std::size_t kCellBytes = 6;

}  // namespace

Packet makeTotalsRequest(std::uint8_t unitProgram, std::uint8_t block) {
    return makePoll(CMD_GET_REPORT, unitProgram, block);
}

Packet makeLogRequest(bool first, std::uint8_t toDayLow) {
    Packet packet = makePoll(CMD_GET_REPORT);
    packet[9] = first ? 1 : 0;
    packet[27] = toDayLow;
    return packet;
}

Packet makeTotalsReply(const TotalsReply& reply) {
    Packet packet = packetWithId(PKT_REPORT);
    packet[7] = reply.block;
    for (std::size_t k = 0; k < kCellsPerTotalsBlock; ++k) {
        const std::size_t at = kFirstCellByte + kCellBytes * k;
        packet.setU16(at, reply.cells[k].cycles);
        packet.setU16(at + 2, reply.cells[k].timeHigh);
        packet[at + 4] = reply.cells[k].timeMiddle;
        packet[at + 5] = reply.cells[k].timeLow;
    }
    return packet;
}

std::optional<TotalsReply> parseTotalsReply(const Packet& packet) {
    if (packet.id() != PKT_REPORT) {
        return std::nullopt;
    }
    TotalsReply reply;
    reply.block = packet[7];
    for (std::size_t k = 0; k < kCellsPerTotalsBlock; ++k) {
        const std::size_t at = kFirstCellByte + kCellBytes * k;
        reply.cells[k] = {packet.u16(at), packet.u16(at + 2), packet[at + 4], packet[at + 5]};
    }
    return reply;
}

Packet makeLogReply(const LogWords& words) {
    Packet packet = packetWithId(PKT_REPORT);
    for (std::size_t i = 0; i < kLogWordsPerReply; ++i) {
        packet.setU32(kLogWordOffsets[i], words[i]);
    }
    return packet;
}

std::optional<LogWords> parseLogReply(const Packet& packet) {
    if (packet.id() != PKT_REPORT) {
        return std::nullopt;
    }
    LogWords words{};
    for (std::size_t i = 0; i < kLogWordsPerReply; ++i) {
        words[i] = packet.u32(kLogWordOffsets[i]);
    }
    return words;
}

}  // namespace qelto::protocol
