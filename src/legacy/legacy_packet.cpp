// The unframed data packets that carry program names and comments to and from older units.
#include <array>

#include "legacy/legacy_link.h"

namespace qelto::legacy {
namespace {

constexpr std::size_t kMaxPacketData = 255;

// The units read the header bytes slowly, and need a longer breath before the data and between
// packets; these pauses are what they have always been given.
constexpr std::chrono::milliseconds kBeforeType{100};
constexpr std::chrono::milliseconds kBetweenHeaderBytes{5};
constexpr std::chrono::milliseconds kBeforeData{100};
constexpr std::chrono::milliseconds kBeforeDataByte{10};

}  // namespace

bool LegacyLink::SendPacket(std::uint8_t type, std::uint16_t address,
                            std::span<const std::uint8_t> data) {
    if (data.size() > kMaxPacketData) {
        return false;
    }
    const std::array<std::uint8_t, 4> header{type, static_cast<std::uint8_t>(address >> 8),
                                             static_cast<std::uint8_t>(address),
                                             static_cast<std::uint8_t>(data.size())};
    for (std::size_t i = 0; i < header.size(); ++i) {
        pause(i == 0 ? kBeforeType : kBetweenHeaderBytes);
        if (!SCI_Tx(header[i])) {
            return false;
        }
    }
    pause(kBeforeData);
    for (const std::uint8_t byte : data) {
        pause(kBeforeDataByte);
        if (!SCI_Tx(byte)) {
            return false;
        }
    }
    return true;
}

bool LegacyLink::GetPacket(LegacyPacket& packet) {
    packet.data.clear();
    std::array<std::uint8_t, 4> header{};
    for (std::uint8_t& byte : header) {
        if (!SCI_Rx(byte)) {
            return false;
        }
    }
    packet.type = header[0];
    packet.address = static_cast<std::uint16_t>((header[1] << 8) | header[2]);
    // The count is one byte, so a packet never holds more than 255 data bytes.
    const std::uint8_t count = header[3];
    packet.data.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t byte = 0;
        if (!SCI_Rx(byte)) {
            return false;
        }
        packet.data.push_back(byte);
    }
    return true;
}

}  // namespace qelto::legacy
