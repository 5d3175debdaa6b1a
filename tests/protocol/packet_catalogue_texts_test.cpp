#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>

#include "golden_packet.h"
#include "protocol/packet_catalogue.h"

namespace qelto::protocol {
namespace {

using test::expectLayout;
using test::golden;

// A packet whose bytes from `from` to the end all hold `fill`, as a unit sends a full field
// followed by whatever its next field holds.
Packet filledFrom(std::uint8_t id, std::size_t from, std::uint8_t fill) {
    Packet packet;
    packet[1] = id;
    for (std::size_t i = from; i < kPacketSize; ++i) {
        packet[i] = fill;
    }
    return packet;
}

// Names hold 25 characters and a terminating zero, customer lines 16; an index follows byte 6.
TEST(CatalogueNames, NamesAndCustomerLinesFollowTheirIndexAndReadNoFurtherThanTheirField) {
    const Packet heavySoil = golden(0x08, {{6, 3}}, 7, "Heavy Soil");
    EXPECT_EQ(makeProgName(3, "Heavy Soil"), heavySoil);
    EXPECT_EQ(parseProgName(heavySoil), (IndexedText{3, "Heavy Soil"}));
    // Latin-1 bytes pass as they are; the last characters do not fit.
    const Packet hotel = golden(0x0B, {{6, 1}}, 7, "Hotel M\xE9ridien A");
    EXPECT_EQ(makeCustomerLine(1, "Hotel M\xE9ridien AG"), hotel);
    EXPECT_EQ(parseCustomerLine(hotel), (IndexedText{1, "Hotel M\xE9ridien A"}));

    // Full-width texts round-trip through the simulated unit (tests/integration); a field the
    // unit fills to its last byte is still read no further.
    EXPECT_EQ(parseCustomerLine(filledFrom(PKT_CUSTNAME, 7, 'C'))->text, std::string(16, 'C'));
    // A text stops at an embedded zero.
    const Packet withZero = makePumpName(0, std::string("ab\0cd", 5));
    EXPECT_EQ(withZero[9] | withZero[10], 0);
    EXPECT_EQ(parsePumpName(withZero)->text, "ab");

    Packet program20 = makeProgName(19, "Rinse");
    program20[6] = 20;
    EXPECT_FALSE(parseProgName(program20));
}

TEST(CatalogueTexts, CommentsDescriptionAndSerialNumberTexts) {
    // A full comment block is not run into the block count in byte 32; byte 6 stays zero.
    Packet fullBlock = filledFrom(PKT_COMMENTS, 7, 'c');
    fullBlock[32] = 3;
    expectLayout(CommentBlock{std::string(25, 'c'), 3}, makeComment, parseComment, fullBlock);
    EXPECT_EQ(makeComment({"end", 0}), golden(0x12, {}, 7, "end"));

    // The unit description holds 17 characters from byte 6.
    EXPECT_EQ(makeUnitDescription("Line 4"), golden(0x16, {}, 6, "Line 4"));
    EXPECT_EQ(makeUnitDescription(std::string(20, 'D')), golden(0x16, {}, 6, std::string(17, 'D')));

    // The unit serial number is its first ten characters; an identification text is a
    // terminated text from byte 7.
    EXPECT_EQ(makeSerialNumber({kUnitSerialNumber, "ABC1234567XYZ"}),
              golden(0x10, {{6, 1}}, 7, "ABC1234567"));
    EXPECT_FALSE(parseSerialNumber(filledFrom(PKT_SERIAL_NUM, 6, '9')));  // kind 0x39
    const Packet identification = makeSerialNumber({kIdentificationText, std::string(40, 'i')});
    EXPECT_EQ(identification, golden(0x10, {}, 7, std::string(25, 'i')));
    EXPECT_EQ(parseSerialNumber(identification),
              (SerialNumberText{kIdentificationText, std::string(25, 'i')}));
    EXPECT_THROW(makeSerialNumber({2, "x"}), std::out_of_range);
}

TEST(CatalogueUnitTime, TheClockTravelsAsFourteenDigitsAndImpossibleTimesNeither) {
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 2;
    time.tm_mday = 15;
    time.tm_hour = 9;
    time.tm_min = 8;
    time.tm_sec = 7;
    const Packet expected = golden(0x1E, {}, 6, "09080715032024");
    EXPECT_EQ(formatUnitTime(time), "09080715032024");
    EXPECT_EQ(makeUnitTime(time), expected);
    EXPECT_EQ(parseUnitTime(expected), "09080715032024");
    const auto back = parseUnitTimeText("09080715032024");
    ASSERT_TRUE(back);
    EXPECT_EQ(
        std::tie(back->tm_year, back->tm_mon, back->tm_mday, back->tm_hour, back->tm_min,
                 back->tm_sec),
        std::tie(time.tm_year, time.tm_mon, time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec));

    // A unit time text fills at most 19 bytes (an empty one is the simulated unit's).
    EXPECT_EQ(parseUnitTime(filledFrom(PKT_UNIT_TIME, 6, '1')), std::string(19, '1'));

    std::tm impossible = time;
    impossible.tm_mon = 12;
    EXPECT_EQ(formatUnitTime(impossible), "");
    for (const char* text : {"24000001012024", "000000010120240"}) {
        EXPECT_FALSE(parseUnitTimeText(text)) << text;
    }
}

}  // namespace
}  // namespace qelto::protocol
