// Golden packets for the catalogue tests, written out byte by byte from the documented layouts.
#pragma once

#include <array>
#include <cstdint>

#include "protocol/packet.h"

namespace qelto::protocol::test {

inline Packet packetOf(const std::array<std::uint8_t, kPacketSize>& bytes) {
    Packet packet;
    packet.bytes = bytes;
    return packet;
}

// A packet with the identifier set and every payload byte 0xEE, so a parser that reads a byte it
// should not is caught.
inline Packet noisyPacket(std::uint8_t id) {
    Packet packet;
    packet.bytes.fill(0xEE);
    packet.bytes[0] = 0;
    packet.bytes[1] = id;
    return packet;
}

}  // namespace qelto::protocol::test
