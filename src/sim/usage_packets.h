// The unit's side of CMD_GET_REPORT. With byte 7 or 8 set it is a counter read: the counters of
// one program (0 = all) for pumps 4b .. 4b + 3 of block b (byte 8). With byte 9 set it starts a
// log read at the newest word; further requests with bytes 7 and 8 zero go on backwards, seven
// words a reply, and past the oldest word the unit sends zero words. A counter read ends the log
// read, which is how a request for program 0 block 0 is told from the next seven words.
#pragma once

#include <cstddef>
#include <optional>

#include "protocol/packet.h"
#include "sim/unit_memory.h"

namespace qelto::sim {

struct LogCursor {
    bool active = false;
    std::size_t sent = 0;  // words already sent, counted from the newest
};

// nullopt for a program or block the unit does not have.
std::optional<protocol::Packet> usageReply(const LaundryMemory& memory,
                                           const protocol::Packet& request, LogCursor& cursor);

}  // namespace qelto::sim
