// Building requests by hand, as a PC would put them on the wire, for the simulator's tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "protocol/packet.h"
#include "sim/laundry_unit.h"

namespace qelto::sim::test {

using protocol::Packet;

// A packet with the given identifier and (byte, value) pairs set.
inline Packet packet(std::uint8_t id,
                     std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes = {}) {
    Packet p;
    p.setId(id);
    for (const auto& [at, value] : bytes) {
        p[at] = value;
    }
    return p;
}

inline Packet poll(std::uint8_t command, std::uint8_t byte7 = 0, std::uint8_t byte8 = 0) {
    return packet(protocol::PKT_POLL, {{6, command}, {7, byte7}, {8, byte8}});
}

inline Packet unlockRequest(std::uint16_t pin) {
    Packet p = poll(protocol::CMD_UNLOCK);
    p.setU16(11, pin);
    return p;
}

// The identifier of the unit's reply, or 0 when it stayed silent.
inline std::uint8_t replyId(LaundryUnit& unit, const Packet& request) {
    const auto reply = unit.answer(request);
    return reply ? reply->id() : 0;
}

}  // namespace qelto::sim::test
