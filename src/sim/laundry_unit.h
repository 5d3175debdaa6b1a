// A laundry unit as it answers the packet protocol: one request in, at most one reply out.
//
// Lock rules. A unit starts locked and is unlocked by CMD_UNLOCK with its access PIN (a wrong
// PIN gets PKT_NAK and leaves it locked). The lock guards what changes the unit: while locked,
// every Set, erase, reset and pump command gets PKT_NAK. Identity polls and every Get are
// answered locked or not, so a PC can read a unit's settings before it knows the PIN. CMD_LOCK
// always answers PKT_ACK and locks.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "protocol/packet.h"
#include "sim/unit_memory.h"
#include "sim/usage_packets.h"

namespace qelto::sim {

class LaundryUnit {
  public:
    using Clock = std::function<std::int64_t()>;  // host seconds since the epoch

    explicit LaundryUnit(LaundryMemory memory, Clock clock = {});

    // The reply to one request, or nullopt when a real unit would stay silent (a plain wired
    // unit has no radio, so it does not answer PKT_RF_SETTINGS).
    std::optional<protocol::Packet> answer(const protocol::Packet& request);

    // What the unit sends when it refuses a request; fault injection uses it too.
    protocol::Packet nak() const;

    bool locked() const { return locked_; }
    const LaundryMemory& memory() const { return memory_; }
    LaundryMemory& memory() { return memory_; }
    std::int64_t hostNow() const;

  private:
    std::optional<protocol::Packet> answerPoll(const protocol::Packet& request);
    std::optional<protocol::Packet> answerGet(std::uint8_t command,
                                              const protocol::Packet& request);
    std::optional<protocol::Packet> answerSet(const protocol::Packet& request);
    protocol::Packet ack() const;

    LaundryMemory memory_;
    Clock clock_;
    bool locked_ = true;
    LogCursor logCursor_;
};

}  // namespace qelto::sim
