// Names, customer lines, comments, description, clock and serial number.
#include <algorithm>

#include "platform/text_helpers.h"
#include "protocol/packet.h"
#include "sim/unit_clock.h"
#include "sim/unit_packets.h"

namespace qelto::sim {

using namespace protocol;

namespace {

// A zero-terminated text of at most maxLength bytes starting at byte from.
std::string readText(const Packet& packet, std::size_t from, std::size_t maxLength) {
    std::string text;
    for (std::size_t i = from; i < kPacketSize && text.size() < maxLength; ++i) {
        if (packet[i] == 0) {
            break;
        }
        text.push_back(static_cast<char>(packet[i]));
    }
    return text;
}

void writeText(Packet& packet, std::size_t from, const std::string& text, std::size_t maxLength) {
    for (std::size_t i = 0; i < text.size() && i < maxLength && from + i < kPacketSize; ++i) {
        packet[from + i] = static_cast<std::uint8_t>(text[i]);
    }
}

}  // namespace

std::optional<Packet> programNameReply(const LaundryMemory& memory, std::uint8_t index) {
    if (index >= kPrograms) {
        return std::nullopt;
    }
    Packet reply = stampedReply(memory, PKT_PROGNAME);
    reply[6] = index;
    writeText(reply, 7, memory.programNames.at(index), kProgramNameLength);
    return reply;
}

bool storeProgramName(const Packet& request, LaundryMemory& memory) {
    if (request[6] >= kPrograms) {
        return false;
    }
    memory.programNames.at(request[6]) = readText(request, 7, kProgramNameLength);
    return true;
}

std::optional<Packet> pumpNameReply(const LaundryMemory& memory, std::uint8_t index) {
    if (index >= kPumps) {
        return std::nullopt;
    }
    Packet reply = stampedReply(memory, PKT_PUMPNAME);
    reply[6] = index;
    writeText(reply, 7, memory.pumpNames.at(index), kPumpNameLength);
    return reply;
}

bool storePumpName(const Packet& request, LaundryMemory& memory) {
    if (request[6] >= kPumps) {
        return false;
    }
    memory.pumpNames.at(request[6]) = readText(request, 7, kPumpNameLength);
    return true;
}

std::optional<Packet> customerLineReply(const LaundryMemory& memory, std::uint8_t line) {
    if (line > 1) {
        return std::nullopt;
    }
    Packet reply = stampedReply(memory, PKT_CUSTNAME);
    reply[6] = line;
    writeText(reply, 7, memory.customerLines.at(line), kCustomerLineLength);
    return reply;
}

bool storeCustomerLine(const Packet& request, LaundryMemory& memory) {
    if (request[6] > 1) {
        return false;
    }
    memory.customerLines.at(request[6]) = readText(request, 7, kCustomerLineLength);
    return true;
}

std::optional<Packet> commentReply(const LaundryMemory& memory, std::uint8_t block) {
    if (block == 0 || block > memory.comments.size()) {
        return std::nullopt;
    }
    Packet reply = stampedReply(memory, PKT_COMMENTS);
    const CommentBlock& text = memory.comments.at(block - 1u);
    std::copy(text.begin(), text.end(), reply.bytes.begin() + 7);
    reply[32] = static_cast<std::uint8_t>(memory.comments.size());
    return reply;
}

bool storeComment(const Packet& request, LaundryMemory& memory) {
    if (memory.comments.size() >= kMaxCommentBlocks) {
        return false;
    }
    // Byte 6 is not a block number: a unit appends each block it is sent.
    CommentBlock block{};
    std::copy_n(request.bytes.begin() + 7, kCommentBlockSize, block.begin());
    memory.comments.push_back(block);
    return true;
}

Packet descriptionReply(const LaundryMemory& memory) {
    Packet reply = stampedReply(memory, PKT_UNIT_DESC);
    // Bytes 2..5 are free here too, but the 17 characters start at byte 6.
    writeText(reply, 6, memory.description, kDescriptionLength);
    return reply;
}

void storeDescription(const Packet& request, LaundryMemory& memory) {
    memory.description = readText(request, 6, kDescriptionLength);
}

Packet unitTimeReply(const LaundryMemory& memory, std::int64_t hostNow) {
    Packet reply = stampedReply(memory, PKT_UNIT_TIME);
    // A unit without a clock answers an empty text; the PC shows that no clock is fitted.
    if (memory.hasClock) {
        writeText(reply, 6, formatUnitTime(hostNow + memory.clockOffset), 19);
    }
    return reply;
}

bool storeUnitTime(const Packet& request, LaundryMemory& memory, std::int64_t hostNow) {
    if (!memory.hasClock) {
        return false;
    }
    const auto unitTime = parseUnitTime(readText(request, 6, 19));
    if (!unitTime) {
        return false;
    }
    memory.clockOffset = *unitTime - hostNow;
    return true;
}

bool storeSerialNumber(const Packet& request, LaundryMemory& memory) {
    if (request[6] == 0) {
        memory.identificationText = readText(request, 7, 26);
        return true;
    }
    if (request[6] != 1) {
        return false;
    }
    const std::string text = readText(request, 7, 10);
    if (text.empty() || !platform::allDigits(text)) {
        return false;
    }
    const unsigned long long value = std::stoull(text);
    if (value > 0xFFFFFFFFull) {
        return false;
    }
    memory.serialText = text;
    memory.identity.serial = static_cast<std::uint32_t>(value);
    return true;
}

}  // namespace qelto::sim
