#include "legacy/unit_texts.h"

#include <algorithm>
#include <vector>

#include "legacy/command_frame.h"

namespace qelto::legacy {
namespace {

using namespace std::chrono_literals;

constexpr std::uint8_t kDataPacket = 0x40;
constexpr std::uint8_t kEndPacket = 0x80;
constexpr std::uint8_t kPacketTaken = 0xAA;
// Program i sits at this step in the unit's name memory, whatever the packet size.
constexpr std::uint16_t kNameAddressStep = 25;
// Pieces of the comments text, at their offset in it.
constexpr std::size_t kCommentPiece = 128;
// A unit that keeps sending packets is faulty; no transfer needs more than this.
constexpr std::size_t kMaxPackets = kMaxLegacyComments / kCommentPiece + kLegacyPrograms + 1;

// The units need these breaths before a text command and after the end packet. The first also
// lets a stream the operation just sent leave the port before the command's sign-on purges it.
constexpr auto kBeforeTextCommand = 500ms;
constexpr auto kAfterEndPacket = 100ms;
constexpr auto kAfterEndPacketSettle = 250ms;
constexpr auto kBeforeSpareByte = 400ms;

std::string textUpToNul(const std::vector<std::uint8_t>& bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), 0);
    return {bytes.begin(), end};
}

bool startCommand(LegacyLink& link, std::uint8_t code) {
    link.pause(kBeforeTextCommand);
    return link.SendCmd(code) == LegacyResult::Ok;
}

// Sends one data packet and reads the unit's verdict on it.
bool sendTaken(LegacyLink& link, std::uint16_t address, std::span<const std::uint8_t> data) {
    std::uint8_t verdict = 0;
    return link.SendPacket(kDataPacket, address, data) && link.SCI_Rx(verdict) &&
           verdict == kPacketTaken;
}

bool sendEnd(LegacyLink& link) {
    if (!link.SendPacket(kEndPacket, 0, {})) {
        return false;
    }
    link.pause(kAfterEndPacket);
    link.pause(kAfterEndPacketSettle);
    return true;
}

// Reads data packets up to the end packet, handing each to take; false on a time-out, on a
// packet take refuses, or on more packets than any transfer has.
template <typename Take>
bool receivePackets(LegacyLink& link, Take take) {
    LegacyPacket packet;
    for (std::size_t count = 0; count < kMaxPackets; ++count) {
        if (!link.GetPacket(packet)) {
            return false;
        }
        if (packet.type == kEndPacket) {
            return true;
        }
        if (packet.type != kDataPacket || !take(packet)) {
            return false;
        }
    }
    return false;
}

}  // namespace

bool getProgramNames(LegacyLink& link, LegacyProgramNames& names) {
    if (!startCommand(link, kCmdGetProgramNames)) {
        return false;
    }
    LegacyProgramNames received;
    const bool ok = receivePackets(link, [&received](const LegacyPacket& packet) {
        const std::size_t index = packet.address / kNameAddressStep;
        if (packet.address % kNameAddressStep != 0 || index >= received.size()) {
            return false;
        }
        received[index] = textUpToNul(packet.data);
        return true;
    });
    if (ok) {
        names = std::move(received);
    }
    return ok;
}

bool sendProgramNames(LegacyLink& link, const LegacyProgramNames& names) {
    if (!startCommand(link, kCmdSendProgramNames)) {
        return false;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::array<std::uint8_t, kNamePacketBytes> data{};
        std::copy_n(names[i].begin(), std::min(names[i].size(), data.size() - 1), data.begin());
        const auto address = static_cast<std::uint16_t>(kNameAddressStep * i);
        if (!sendTaken(link, address, data)) {
            return false;
        }
    }
    return sendEnd(link);
}

bool GetComments(LegacyLink& link, std::string& comments) {
    if (!startCommand(link, kCmdGetComments)) {
        return false;
    }
    std::vector<std::uint8_t> text;
    const bool ok = receivePackets(link, [&text](const LegacyPacket& packet) {
        const std::size_t end = std::size_t{packet.address} + packet.data.size();
        if (end > kMaxLegacyComments) {
            return false;
        }
        if (text.size() < end) {
            text.resize(end, 0);
        }
        std::copy(packet.data.begin(), packet.data.end(),
                  text.begin() + static_cast<std::ptrdiff_t>(packet.address));
        return true;
    });
    if (ok) {
        comments = textUpToNul(text);
    }
    return ok;
}

bool sendComments(LegacyLink& link, const std::string& comments) {
    if (comments.size() > kMaxLegacyComments || !startCommand(link, kCmdSendComments)) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(comments.data());
    for (std::size_t offset = 0; offset < comments.size(); offset += kCommentPiece) {
        const std::size_t n = std::min(kCommentPiece, comments.size() - offset);
        if (!sendTaken(link, static_cast<std::uint16_t>(offset), {bytes + offset, n})) {
            return false;
        }
    }
    return sendEnd(link);
}

bool writeSpareLaundryByte(LegacyLink& link, std::uint8_t value) {
    if (!startCommand(link, kCmdWriteSpareLaundry)) {
        return false;
    }
    link.pause(kBeforeSpareByte);
    std::uint8_t echo = 0;
    return link.SCI_Tx(value) && link.SCI_Rx(echo);
}

}  // namespace qelto::legacy
