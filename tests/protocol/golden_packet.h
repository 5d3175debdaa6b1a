// Golden packets for the catalogue tests, written out byte by byte from the documented layouts.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "protocol/packet.h"

namespace qelto::protocol::test {

inline Packet packetOf(const std::array<std::uint8_t, kPacketSize>& bytes) {
    Packet packet;
    packet.bytes = bytes;
    return packet;
}

// A packet given by its identifier and the bytes that are not zero; a text stands for its
// characters from byte `textAt` on.
inline Packet golden(std::uint8_t id,
                     std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes,
                     std::size_t textAt = 0, std::string_view text = {}) {
    Packet packet;
    packet.setId(id);
    for (const auto& [at, value] : bytes) {
        packet[at] = value;
    }
    for (const char c : text) {
        packet[textAt++] = static_cast<std::uint8_t>(c);
    }
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

// A builder must give the golden packet, and its parser must read the value back from it.
template <class Value, class Make, class Parse>
void expectLayout(const Value& value, Make make, Parse parse, const Packet& expected) {
    EXPECT_EQ(make(value), expected);
    EXPECT_EQ(parse(expected), value);
}

}  // namespace qelto::protocol::test
