#include "protocol/packet_catalogue_texts.h"

#include <fmt/format.h>

#include <stdexcept>

#include "platform/text_helpers.h"
#include "protocol/packet_catalogue_fields.h"

namespace qelto::protocol {
namespace {

constexpr std::size_t kIndexAt = 6;
constexpr std::size_t kIndexedTextAt = 7;
constexpr std::size_t kCommentCountAt = 32;
constexpr std::size_t kUnitTextAt = 6;  // unit description and unit time

Packet makeIndexedText(std::uint8_t id, std::uint8_t index, std::string_view text,
                       std::size_t width) {
    Packet packet = packetWithId(id);
    packet[kIndexAt] = index;
    writeText(packet, kIndexedTextAt, width, text);
    return packet;
}

std::optional<IndexedText> parseIndexedText(std::uint8_t id, const Packet& packet,
                                            std::size_t width) {
    if (packet.id() != id) {
        return std::nullopt;
    }
    return IndexedText{packet[kIndexAt], readText(packet, kIndexedTextAt, width)};
}

std::size_t serialTextWidth(std::uint8_t kind) {
    return kind == kUnitSerialNumber ? kSerialNumberWidth : kIdentificationTextWidth;
}

bool validClockFields(int hour, int minute, int second, int day, int month, int year) {
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 60 &&
           day >= 1 && day <= 31 && month >= 1 && month <= 12 && year >= 0 && year <= 9999;
}

}  // namespace

Packet makeProgName(std::uint8_t program, std::string_view name) {
    if (program >= kProgramNames) {
        throw std::out_of_range("program name index out of range");
    }
    return makeIndexedText(PKT_PROGNAME, program, name, kNameWidth);
}

std::optional<IndexedText> parseProgName(const Packet& packet) {
    auto name = parseIndexedText(PKT_PROGNAME, packet, kNameWidth);
    if (name && name->index >= kProgramNames) {
        return std::nullopt;
    }
    return name;
}

Packet makePumpName(std::uint8_t pump, std::string_view name) {
    return makeIndexedText(PKT_PUMPNAME, pump, name, kNameWidth);
}

std::optional<IndexedText> parsePumpName(const Packet& packet) {
    return parseIndexedText(PKT_PUMPNAME, packet, kNameWidth);
}

Packet makeCustomerLine(std::uint8_t line, std::string_view text) {
    return makeIndexedText(PKT_CUSTNAME, line, text, kCustomerLineWidth);
}

std::optional<IndexedText> parseCustomerLine(const Packet& packet) {
    return parseIndexedText(PKT_CUSTNAME, packet, kCustomerLineWidth);
}

Packet makeComment(const CommentBlock& block) {
    // Byte 6 stays 0: the unit stores the blocks in the order they arrive.
    Packet packet = packetWithId(PKT_COMMENTS);
    writeText(packet, kIndexedTextAt, kCommentBlockWidth, block.text);
    packet[kCommentCountAt] = block.count;
    return packet;
}

std::optional<CommentBlock> parseComment(const Packet& packet) {
    if (packet.id() != PKT_COMMENTS) {
        return std::nullopt;
    }
    return CommentBlock{readText(packet, kIndexedTextAt, kCommentBlockWidth),
                        packet[kCommentCountAt]};
}

Packet makeUnitDescription(std::string_view text) {
    Packet packet = packetWithId(PKT_UNIT_DESC);
    writeText(packet, kUnitTextAt, kUnitDescriptionWidth, text);
    return packet;
}

std::optional<std::string> parseUnitDescription(const Packet& packet) {
    if (packet.id() != PKT_UNIT_DESC) {
        return std::nullopt;
    }
    return readText(packet, kUnitTextAt, kUnitDescriptionWidth);
}

std::string formatUnitTime(const std::tm& time) {
    const int year = time.tm_year + 1900;
    const int month = time.tm_mon + 1;
    if (!validClockFields(time.tm_hour, time.tm_min, time.tm_sec, time.tm_mday, month, year)) {
        return {};
    }
    return fmt::format("{:02}{:02}{:02}{:02}{:02}{:04}", time.tm_hour, time.tm_min, time.tm_sec,
                       time.tm_mday, month, year);
}

std::optional<std::tm> parseUnitTimeText(std::string_view text) {
    if (text.size() != 14) {
        return std::nullopt;
    }
    const auto hour = platform::digitsAt(text, 0, 2);
    const auto minute = platform::digitsAt(text, 2, 2);
    const auto second = platform::digitsAt(text, 4, 2);
    const auto day = platform::digitsAt(text, 6, 2);
    const auto month = platform::digitsAt(text, 8, 2);
    const auto year = platform::digitsAt(text, 10, 4);
    if (!hour || !minute || !second || !day || !month || !year ||
        !validClockFields(*hour, *minute, *second, *day, *month, *year)) {
        return std::nullopt;
    }
    std::tm time{};
    time.tm_hour = *hour;
    time.tm_min = *minute;
    time.tm_sec = *second;
    time.tm_mday = *day;
    time.tm_mon = *month - 1;
    time.tm_year = *year - 1900;
    time.tm_isdst = -1;
    return time;
}

Packet makeUnitTime(const std::tm& time) {
    return makeUnitTime(formatUnitTime(time));
}

Packet makeUnitTime(std::string_view text) {
    Packet packet = packetWithId(PKT_UNIT_TIME);
    writeText(packet, kUnitTextAt, kUnitTimeWidth, text);
    return packet;
}

std::optional<std::string> parseUnitTime(const Packet& packet) {
    if (packet.id() != PKT_UNIT_TIME) {
        return std::nullopt;
    }
    return readText(packet, kUnitTextAt, kUnitTimeWidth);
}

Packet makeSerialNumber(const SerialNumberText& serial) {
    if (serial.kind != kIdentificationText && serial.kind != kUnitSerialNumber) {
        throw std::out_of_range("serial number packet kind out of range");
    }
    return makeIndexedText(PKT_SERIAL_NUM, serial.kind, serial.text, serialTextWidth(serial.kind));
}

std::optional<SerialNumberText> parseSerialNumber(const Packet& packet) {
    if (packet.id() != PKT_SERIAL_NUM ||
        (packet[kIndexAt] != kIdentificationText && packet[kIndexAt] != kUnitSerialNumber)) {
        return std::nullopt;
    }
    const std::uint8_t kind = packet[kIndexAt];
    return SerialNumberText{kind, readText(packet, kIndexedTextAt, serialTextWidth(kind))};
}

}  // namespace qelto::protocol
