// The packets that carry texts: program and pump names, customer lines, comment blocks, the unit
// description, the unit clock and the serial-number packet. Texts are Latin-1 bytes as they
// stand; a text longer than its field is cut, and a read never runs past its field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/packet.h"

namespace qelto::protocol {

inline constexpr std::size_t kNameWidth = 25;  // program and pump names
inline constexpr std::size_t kCustomerLineWidth = 16;
inline constexpr std::size_t kCommentBlockWidth = 25;
inline constexpr std::size_t kUnitDescriptionWidth = 17;
inline constexpr std::size_t kUnitTimeWidth = 19;
inline constexpr std::size_t kSerialNumberWidth = 10;
inline constexpr std::size_t kIdentificationTextWidth = 25;
inline constexpr std::uint8_t kProgramNames = 20;

// A text that belongs to a numbered slot: a program, a pump or a customer line (0-based).
struct IndexedText {
    std::uint8_t index = 0;
    std::string text;
    friend bool operator==(const IndexedText&, const IndexedText&) = default;
};

// Throws std::out_of_range for a program above 19.
Packet makeProgName(std::uint8_t program, std::string_view name);
// Rejects a program index of 20 or more.
std::optional<IndexedText> parseProgName(const Packet& packet);
Packet makePumpName(std::uint8_t pump, std::string_view name);
std::optional<IndexedText> parsePumpName(const Packet& packet);
Packet makeCustomerLine(std::uint8_t line, std::string_view text);
std::optional<IndexedText> parseCustomerLine(const Packet& packet);

// One 25-character block of the comment text. Only the unit's reply sets count: the number of
// blocks it holds.
struct CommentBlock {
    std::string text;
    std::uint8_t count = 0;
    friend bool operator==(const CommentBlock&, const CommentBlock&) = default;
};

Packet makeComment(const CommentBlock& block);
std::optional<CommentBlock> parseComment(const Packet& packet);

Packet makeUnitDescription(std::string_view text);
std::optional<std::string> parseUnitDescription(const Packet& packet);

// The unit clock travels as text, "%H%M%S%d%m%Y". formatUnitTime gives "" for a time whose
// fields are out of range (nothing is then sent); parseUnitTimeText accepts exactly 14 digits
// of a valid time and leaves tm_isdst at -1.
std::string formatUnitTime(const std::tm& time);
std::optional<std::tm> parseUnitTimeText(std::string_view text);
Packet makeUnitTime(const std::tm& time);
Packet makeUnitTime(std::string_view text);
// The text as the unit sent it; an empty text means the unit has no clock.
std::optional<std::string> parseUnitTime(const Packet& packet);

// PKT_SERIAL_NUM carries either the unit's serial number (ten characters) or an identification
// text, told apart by byte 6.
enum SerialNumberKind : std::uint8_t {
    kIdentificationText = 0,
    kUnitSerialNumber = 1,
};

struct SerialNumberText {
    std::uint8_t kind = kUnitSerialNumber;
    std::string text;
    friend bool operator==(const SerialNumberText&, const SerialNumberText&) = default;
};

// Throws std::out_of_range for a kind other than the two above.
Packet makeSerialNumber(const SerialNumberText& serial);
// Rejects a kind other than the two above: its text width would be unknown.
std::optional<SerialNumberText> parseSerialNumber(const Packet& packet);

}  // namespace qelto::protocol
