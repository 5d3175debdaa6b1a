#include "sim/usage_packets.h"

#include "sim/unit_packets.h"

namespace qelto::sim {

using namespace protocol;

namespace {

constexpr std::size_t kWordsPerReply = 7;
constexpr std::size_t kWordAt[kWordsPerReply] = {2, 9, 13, 17, 21, 25, 29};

std::optional<Packet> countersReply(const LaundryMemory& memory, std::uint8_t program,
                                    std::uint8_t block) {
    if (program >= kCounterPrograms || block > 2) {
        return std::nullopt;
    }
    Packet reply = stampedReply(memory, PKT_REPORT);
    reply[7] = block;
    for (std::size_t k = 0; k < 4; ++k) {
        const std::size_t pump = 4U * block + k;
        if (pump >= kCounterPumps) {
            break;
        }
        const UsageCounter& counter = memory.usage.counters[program][pump];
        const std::size_t at = 8 + 6 * k;
        reply.setU16(at, counter.cycles);
        reply.setU16(at + 2, static_cast<std::uint16_t>(counter.amount >> 16));
        reply[at + 4] = static_cast<std::uint8_t>(counter.amount >> 8);
        reply[at + 5] = static_cast<std::uint8_t>(counter.amount);
    }
    return reply;
}

Packet logReply(const LaundryMemory& memory, LogCursor& cursor) {
    Packet reply;
    reply.setId(PKT_REPORT);
    const std::vector<std::uint32_t>& log = memory.usage.log;
    for (std::size_t i = 0; i < kWordsPerReply; ++i) {
        if (cursor.sent < log.size()) {
            reply.setU32(kWordAt[i], log[log.size() - 1 - cursor.sent]);
            ++cursor.sent;
        }
    }
    return reply;
}

}  // namespace

std::optional<Packet> usageReply(const LaundryMemory& memory, const Packet& request,
                                 LogCursor& cursor) {
    if (request[7] != 0 || request[8] != 0) {
        cursor.active = false;
        return countersReply(memory, request[7], request[8]);
    }
    if (request[9] == 1) {
        cursor = {true, 0};
    }
    if (!cursor.active) {
        return countersReply(memory, 0, 0);
    }
    return logReply(memory, cursor);
}

}  // namespace qelto::sim
