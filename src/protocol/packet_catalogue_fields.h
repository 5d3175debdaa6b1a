// Helpers shared by the packet builders and parsers. Text fields have fixed widths: a unit fills
// one with a C string and its terminating zero, but a full field carries no terminator at all,
// so every read stops at the end of its field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/packet.h"

namespace qelto::protocol {

// A zeroed packet with its identifier set: every payload byte a packet does not use goes as 0.
inline Packet packetWithId(std::uint8_t id) {
    Packet packet;
    packet.setId(id);
    return packet;
}

// The highest program index whose data identifiers (both halves) a reader accepts.
inline constexpr std::uint8_t kMaxProgDataProgram = (PKT_PROG_LAST - PKT_PROG_FIRST) / 2;

// The bytes from `at` up to the first zero, at most `width` of them.
std::string readText(const Packet& packet, std::size_t at, std::size_t width);

// Writes the text up to its first zero byte, cut to `width` bytes; the rest of the field is set
// to zero, which terminates every text shorter than its field.
void writeText(Packet& packet, std::size_t at, std::size_t width, std::string_view text);

}  // namespace qelto::protocol
