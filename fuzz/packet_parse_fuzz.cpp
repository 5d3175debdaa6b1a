// Replies come from units, radio links and cables with any bytes in them. Every parser must take
// any packet; what it accepts must build back into a packet that parses to the same record, and
// into the same bytes wherever a packet has no unused bytes to lose.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "protocol/packet_catalogue.h"

namespace {

using namespace qelto::protocol;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// parse(make(parse(p))) == parse(p) for one packet kind.
template <typename Parse, typename Make>
void roundTrip(const Packet& packet, Parse parse, Make make) {
    const auto parsed = parse(packet);
    if (parsed) {
        const auto again = parse(make(*parsed));
        require(again && *again == *parsed);
    }
}

// The packet with only the listed byte range (and its identifier) kept.
Packet keep(const Packet& packet, std::size_t first, std::size_t last) {
    Packet kept;
    kept[1] = packet[1];
    for (std::size_t i = first; i <= last; ++i) {
        kept[i] = packet[i];
    }
    return kept;
}

void checkCommands(const Packet& packet) {
    if (const auto poll = parsePoll(packet)) {
        const Packet rebuilt = poll->command == CMD_UNLOCK
                                   ? makeUnlock(poll->pin)
                                   : makePoll(poll->command, poll->byte7, poll->byte8);
        require(poll->command == CMD_UNLOCK || parsePoll(rebuilt) == poll);
        require(parsePoll(rebuilt)->pin == poll->pin);
    }
    roundTrip(packet, parseAck, [](const UnitIdentity& id) { return makeAck(id); });
    roundTrip(packet, parseNak, [](const UnitIdentity& id) { return makeNak(id); });
    roundTrip(packet, parseRfSettingsRequest,
              [](const RfSettingsRequest& r) { return makeRfSettingsRequest(r); });
    roundTrip(packet, parseRfSettingsReply, makeRfSettingsReply);
    roundTrip(packet, parsePumpOps, makePumpOps);
    require(!isEraseEepromRequest(packet) || keep(packet, 6, 9) == makeEraseEeprom());
}

void checkSettings(const Packet& packet) {
    if (const auto block = parseGlobalBlock1(packet)) {
        Packet expected = packet;
        expected[6] = expected[7] = expected[8] = 0;
        expected[25] &= 0x03;
        require(makeGlobalBlock1(*block) == expected);
    }
    if (const auto block = parseGlobalBlock2(packet)) {
        bool plainRanges = true;
        for (std::size_t i = 22; i <= 31; ++i) {
            plainRanges = plainRanges && packet[i] <= 3;
        }
        Packet expected = packet;
        expected[32] = 0;
        require(!plainRanges || makeGlobalBlock2(*block) == expected);
    }
    roundTrip(packet, parseAutoFs, makeAutoFs);
    if (const auto resetTo = parseResetTo(packet)) {
        require(makeResetTo(*resetTo) == keep(packet, 6, 8));
        const std::uint8_t option = resetOptionOf(*resetTo);
        require(resetOptionOf(resetToForOption(option)) == option);
    }
}

void checkProgram(const Packet& packet) {
    if (const auto half = parseProgDataHalf(packet)) {
        require(makeProgDataHalf(*half) == keep(packet, 6, 32));
    }
    if (const auto group = parsePumpCal(packet)) {
        require(makePumpCal(*group) == keep(packet, 6, 31));
    }
    if (const auto map = parseEnProgs(packet)) {
        require(makeEnProgs(*map) == keep(packet, 6, 30));
    }
}

void checkTexts(const Packet& packet) {
    roundTrip(packet, parseProgName,
              [](const IndexedText& t) { return makeProgName(t.index, t.text); });
    roundTrip(packet, parsePumpName,
              [](const IndexedText& t) { return makePumpName(t.index, t.text); });
    roundTrip(packet, parseCustomerLine,
              [](const IndexedText& t) { return makeCustomerLine(t.index, t.text); });
    roundTrip(packet, parseComment, makeComment);
    roundTrip(packet, parseSerialNumber, makeSerialNumber);
    roundTrip(packet, parseUnitDescription,
              [](const std::string& t) { return makeUnitDescription(t); });
    if (const auto text = parseUnitTime(packet)) {
        require(text->size() <= kUnitTimeWidth);
        require(parseUnitTime(makeUnitTime(*text)) == text);
        if (const auto time = parseUnitTimeText(*text)) {
            require(formatUnitTime(*time) == *text);
        }
    }
    if (const auto name = parseProgName(packet)) {
        require(name->text.size() <= kNameWidth && name->index < kProgramNames);
    }
    if (const auto line = parseCustomerLine(packet)) {
        require(line->text.size() <= kCustomerLineWidth);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input is packet bytes 1..32; a shorter input leaves the rest 0, as a cleared record.
    Packet packet;
    for (std::size_t i = 0; i < size && i + 1 < kPacketSize; ++i) {
        packet.bytes[i + 1] = data[i];
    }
    checkCommands(packet);
    checkSettings(packet);
    checkProgram(packet);
    checkTexts(packet);
    return 0;
}
