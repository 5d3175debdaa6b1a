#include "protocol/packet_catalogue_fields.h"

#include <stdexcept>

namespace qelto::protocol {
namespace {

void checkField(std::size_t at, std::size_t width) {
    if (at > kPacketSize || width > kPacketSize - at) {
        throw std::out_of_range("text field beyond the end of the packet");
    }
}

}  // namespace

std::string readText(const Packet& packet, std::size_t at, std::size_t width) {
    checkField(at, width);
    std::string text;
    for (std::size_t i = at; i < at + width && packet.bytes[i] != 0; ++i) {
        text.push_back(static_cast<char>(packet.bytes[i]));
    }
    return text;
}

void writeText(Packet& packet, std::size_t at, std::size_t width, std::string_view text) {
    checkField(at, width);
    const std::string_view cString = text.substr(0, text.find('\0'));
    for (std::size_t i = 0; i < width; ++i) {
        packet.bytes[at + i] = i < cString.size() ? static_cast<std::uint8_t>(cString[i]) : 0;
    }
}

}  // namespace qelto::protocol
