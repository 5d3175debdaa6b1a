// The communications record: what a unit last reported, or what is about to be sent to it, one
// typed part per group of settings. Each unit operation reads or fills one part; the translation
// to and from the document works on the same parts. Texts sit in fixed slots of 8-bit characters
// as the unit keeps them, and every read of a slot stops at its end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "protocol/packet_catalogue.h"

namespace qelto::protocol {

inline constexpr std::size_t kCommsPrograms = 20;
inline constexpr std::size_t kCommsTriggers = 10;
inline constexpr std::size_t kCommsPumps = 10;
inline constexpr std::size_t kNameSlot = 26;  // at most 25 characters and a zero
inline constexpr std::size_t kCustomerLineSlot = 17;
inline constexpr std::size_t kCustomerLines = 2;
inline constexpr std::size_t kCommentSlot = 25;
inline constexpr std::size_t kMaxCommentBlocks = 100;
inline constexpr std::size_t kUnitTimeSlot = 19;
inline constexpr std::size_t kUnitDescriptionSlot = 17;
inline constexpr std::size_t kSerialTextSlot = 11;  // ten characters and a zero

template <std::size_t N>
using TextSlot = std::array<char, N>;

// The text of a slot: up to its first zero, never past its end.
std::string slotText(std::span<const char> slot);
// Copies the text into the slot, cut to the slot's width; the rest of the slot becomes zeros.
void setSlotText(std::span<char> slot, std::string_view text);
// For the slots one byte wider than their text (names, customer lines, serial numbers): the last
// byte always stays zero, as the unit's own copy would have it.
template <std::size_t N>
void setTerminatedText(TextSlot<N>& slot, std::string_view text) {
    slot = {};
    setSlotText(std::span<char>(slot).first(N - 1), text);
}

// Who the unit says it is (PKT_ACK to an unlock, a poll or an identification request), and the
// PIN the unlock sent.
struct IdentityPart {
    std::uint16_t pin = 0;
    UnitIdentity unit;
    friend bool operator==(const IdentityPart&, const IdentityPart&) = default;
};

// Both global settings blocks as they travel, with the pump count of the unit type beside them
// (the unit type itself is block1.unitType).
struct GlobalsPart {
    std::uint8_t pumpCount = 0;
    GlobalBlock1 block1;
    GlobalBlock2 block2;
    friend bool operator==(const GlobalsPart&, const GlobalsPart&) = default;
};

struct CalibrationPart {
    std::array<PumpCalEntry, kCommsPumps> pumps{};
    friend bool operator==(const CalibrationPart&, const CalibrationPart&) = default;
};

// One trigger of one program: its setting byte (the pulse count) and the step of every pump. A
// pump's two run bytes hold a run time or a dose exactly as the unit keeps them.
struct TriggerRecord {
    std::uint8_t setting = 0;
    std::array<ProgPump, kCommsPumps> pumps{};
    friend bool operator==(const TriggerRecord&, const TriggerRecord&) = default;
};

struct ProgDataPart {
    std::array<std::array<TriggerRecord, kCommsTriggers>, kCommsPrograms> programs{};
    friend bool operator==(const ProgDataPart&, const ProgDataPart&) = default;
};

struct ProgNamesPart {
    std::array<TextSlot<kNameSlot>, kCommsPrograms> names{};
    friend bool operator==(const ProgNamesPart&, const ProgNamesPart&) = default;
};

struct PumpNamesPart {
    std::array<TextSlot<kNameSlot>, kCommsPumps> names{};
    friend bool operator==(const PumpNamesPart&, const PumpNamesPart&) = default;
};

struct CustNamePart {
    std::array<TextSlot<kCustomerLineSlot>, kCustomerLines> lines{};
    friend bool operator==(const CustNamePart&, const CustNamePart&) = default;
};

// The comment text in 25-byte blocks; only the first `count` blocks are meaningful.
struct CommentsPart {
    std::array<TextSlot<kCommentSlot>, kMaxCommentBlocks> blocks{};
    std::uint8_t count = 0;
    friend bool operator==(const CommentsPart&, const CommentsPart&) = default;
};

// Cuts a comment text into consecutive 25-character blocks (the last one zero-padded), at most
// 100 of them; what does not fit is dropped.
CommentsPart commentsFromText(std::string_view text);

// resetOption: 0 = back to the last program, 1 = to program 00, n >= 2 = to program n - 1.
struct ResetToPart {
    std::uint8_t resetOption = 0;
    std::uint8_t resetProgChoice = 0;
    std::uint8_t FSVersion = 0;
    friend bool operator==(const ResetToPart&, const ResetToPart&) = default;
};

// The document's serial number texts, kept for SetUnitSerialNumber.
struct SerialNumbersPart {
    TextSlot<kSerialTextSlot> unitSerial{};
    TextSlot<kSerialTextSlot> cpuSerial{};
    friend bool operator==(const SerialNumbersPart&, const SerialNumbersPart&) = default;
};

// What the connection remembers about the PIN while its unit stays selected. 0 and -1 both mean
// that no PIN is known yet (-1 after the operator cancelled the PIN entry).
struct PinMemory {
    std::int16_t rememberedPin = 0;
    bool pinAccepted = false;
    friend bool operator==(const PinMemory&, const PinMemory&) = default;
};

inline constexpr std::int16_t kPinUnknown = 0;
inline constexpr std::int16_t kPinForgotten = -1;

// The parts live side by side: one operation fills only its own, and nothing else has to be
// converted before the next one runs.
struct CommsData {
    IdentityPart identity;
    GlobalsPart globals;
    CalibrationPart calibration;
    ProgDataPart progData;
    ProgNamesPart progNames;
    CustNamePart custName;
    PumpNamesPart pumpNames;
    CommentsPart comments;
    TextSlot<kUnitDescriptionSlot> unitDescription{};
    AutoFs autoFs;
    ResetToPart resetTo;
    TextSlot<kUnitTimeSlot> unitTime{};
    SerialNumbersPart serialNumbers;
    PinMemory connection;
    friend bool operator==(const CommsData&, const CommsData&) = default;
};

}  // namespace qelto::protocol
