// Framing of packets on the wire: the start marker "0", the 32 packet bytes (identifier first)
// and a 16-bit check word, high byte first. Over HID the frame travels inside a 36-byte report
// whose first byte is the report number.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "protocol/packet.h"

namespace qelto::protocol {

inline constexpr std::uint8_t kStartMarker = 0x30;  // the character "0"
inline constexpr std::size_t kFrameSize = 35;
inline constexpr std::size_t kHidReportSize = 36;

using Frame = std::array<std::uint8_t, kFrameSize>;
using HidReport = std::array<std::uint8_t, kHidReportSize>;

// The ones' complement of the 16-bit sum of packet bytes 1..32.
std::uint16_t checkWord(const Packet& packet);

Frame encodeFrame(const Packet& packet);
HidReport encodeHidReport(const Packet& packet);

// True when the check word of a frame (bytes 33, 34) matches its packet bytes (frame bytes 1..32).
bool frameCheckWordValid(const Frame& frame);

// Copies frame bytes 1..32 into packet bytes 1..32 (byte 0 becomes 0).
Packet packetFromFrame(const Frame& frame);
// Copies input-report bytes 2..33 into packet bytes 1..32.
Packet packetFromHidReport(const HidReport& report);

// A serial reply can arrive rotated, its tail first. Finds the start of the frame in 35 received
// bytes from the start marker and, when several markers make that ambiguous, from the serial
// number the unit puts two bytes after the marker, and returns the frame rotated into place.
Frame realignFrame(const Frame& received, std::uint32_t selectedSerial);

}  // namespace qelto::protocol
