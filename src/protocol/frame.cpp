#include "protocol/frame.h"

namespace qelto::protocol {

std::uint16_t checkWord(const Packet& packet) {
    std::uint16_t sum = 0;
    for (std::size_t i = 1; i < kPacketSize; ++i) {
        sum = static_cast<std::uint16_t>(sum + packet.bytes[i]);
    }
    return static_cast<std::uint16_t>(~sum);
}

Frame encodeFrame(const Packet& packet) {
    Frame frame{};
    frame[0] = kStartMarker;
    for (std::size_t i = 1; i < kPacketSize; ++i) {
        frame[i] = packet.bytes[i];
    }
    const std::uint16_t check = checkWord(packet);
    frame[33] = static_cast<std::uint8_t>(check >> 8);
    frame[34] = static_cast<std::uint8_t>(check);
    return frame;
}

HidReport encodeHidReport(const Packet& packet) {
    HidReport report{};
    const Frame frame = encodeFrame(packet);
    for (std::size_t i = 0; i < kFrameSize; ++i) {
        report[i + 1] = frame[i];
    }
    return report;
}

bool frameCheckWordValid(const Frame& frame) {
    std::uint16_t sum = 0;
    for (std::size_t i = 1; i <= 32; ++i) {
        sum = static_cast<std::uint16_t>(sum + frame[i]);
    }
    const auto check = static_cast<std::uint16_t>((frame[33] << 8) | frame[34]);
    return sum == static_cast<std::uint16_t>(~check);
}

Packet packetFromFrame(const Frame& frame) {
    Packet packet;
    for (std::size_t i = 1; i < kPacketSize; ++i) {
        packet.bytes[i] = frame[i];
    }
    return packet;
}

Packet packetFromHidReport(const HidReport& report) {
    Packet packet;
    for (std::size_t i = 1; i < kPacketSize; ++i) {
        packet.bytes[i] = report[i + 1];
    }
    return packet;
}

Frame realignFrame(const Frame& received, std::uint32_t selectedSerial) {
    const std::size_t n = kFrameSize;
    std::size_t markers = 0;
    std::size_t start = 0;
    bool startFound = false;
    for (std::size_t i = 0; i < n; ++i) {
        if (received[i] == kStartMarker) {
            ++markers;
            if (!startFound) {
                start = i;
                startFound = true;
            }
        }
    }
    // A rotated frame with more than one "0" byte is ambiguous; the unit's serial number, which
    // it sends two bytes after the marker, says which "0" starts the frame.
    if (start != 0 && markers >= 2) {
        const std::array<std::uint8_t, 4> serial{static_cast<std::uint8_t>(selectedSerial),
                                                 static_cast<std::uint8_t>(selectedSerial >> 8),
                                                 static_cast<std::uint8_t>(selectedSerial >> 16),
                                                 static_cast<std::uint8_t>(selectedSerial >> 24)};
        for (std::size_t i = 0; i + 4 <= n; ++i) {
            if (received[i] != serial[0] || received[i + 1] != serial[1] ||
                received[i + 2] != serial[2] || received[i + 3] != serial[3]) {
                continue;
            }
            const std::size_t s = (i + n - 2) % n;
            if (received[s] == kStartMarker) {
                start = s;
                break;
            }
            start = 0;
        }
    }
    Frame frame{};
    for (std::size_t j = 0; j < n; ++j) {
        frame[j] = received[(start + j) % n];
    }
    return frame;
}

}  // namespace qelto::protocol
