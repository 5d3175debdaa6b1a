#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "golden_packet.h"
#include "protocol/packet_catalogue.h"

namespace qelto::protocol {
namespace {

using test::packetOf;

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

TEST(CatalogueNames, AProgramNameFollowsItsIndexWithItsTerminatingZero) {
    const Packet expected = packetOf({
        0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x03, 'H',  'e',  'a',  'v',   // 0..10
        'y',  ' ',  'S',  'o',  'i',  'l',  0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makeProgName(3, "Heavy Soil"), expected);
    EXPECT_EQ(parseProgName(expected), (IndexedText{3, "Heavy Soil"}));
}

TEST(CatalogueNames, AProgramIndexOf20OrMoreIsRejected) {
    Packet packet = makeProgName(19, "Rinse");
    EXPECT_TRUE(parseProgName(packet));
    packet[6] = 20;
    EXPECT_FALSE(parseProgName(packet));
    EXPECT_THROW(makeProgName(20, "Rinse"), std::out_of_range);
    EXPECT_FALSE(parseProgName(makePumpName(0, "Rinse")));
}

TEST(CatalogueNames, NamesAreCutTo25CharactersAndReadNoFurther) {
    const std::string long30(30, 'N');
    const Packet made = makePumpName(9, long30);
    EXPECT_EQ(made[31], 'N');
    EXPECT_EQ(made[32], 0);
    // A full pump name with the byte after the field set: the read stops at byte 31.
    const auto pump = parsePumpName(filledFrom(PKT_PUMPNAME, 7, 'P'));
    ASSERT_TRUE(pump);
    EXPECT_EQ(pump->text, std::string(25, 'P'));
    EXPECT_EQ(parseProgName(filledFrom(PKT_PROGNAME, 7, 'Q'))->text, std::string(25, 'Q'));
}

TEST(CatalogueNames, CustomerLinesHold16Characters) {
    const Packet expected = packetOf({
        0x00, 0x0B, 0x00, 0x00, 0x00, 0x00, 0x01, 'H',  'o',  't',  'e',   // 0..10
        'l',  ' ',  'M',  0xE9, 'r',  'i',  'd',  'i',  'e',  'n',  ' ',   // 11..21
        'A',  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    // Latin-1 bytes pass as they are; the last characters do not fit.
    EXPECT_EQ(makeCustomerLine(1, "Hotel M\xE9ridien AG"), expected);
    EXPECT_EQ(parseCustomerLine(expected), (IndexedText{1, "Hotel M\xE9ridien A"}));
    EXPECT_EQ(parseCustomerLine(filledFrom(PKT_CUSTNAME, 7, 'C'))->text, std::string(16, 'C'));
}

TEST(CatalogueComments, AFullBlockIsNotRunIntoTheBlockCount) {
    const std::string block(25, 'c');
    Packet expected = filledFrom(PKT_COMMENTS, 7, 'c');
    expected[32] = 3;
    EXPECT_EQ(makeComment({block, 3}), expected);
    EXPECT_EQ(parseComment(expected), (CommentBlock{block, 3}));
}

TEST(CatalogueComments, AShortBlockIsPaddedWithZerosAndByte6StaysZero) {
    const Packet expected = packetOf({
        0x00, 0x12, 0x00, 0x00, 0x00, 0x00, 0x00, 'e',  'n',  'd',  0x00,  // 0..10
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makeComment({"end", 0}), expected);
}

TEST(CatalogueTexts, TheUnitDescriptionHolds17CharactersFromByte6) {
    const Packet expected = packetOf({
        0x00, 0x16, 0x00, 0x00, 0x00, 0x00, 'L',  'i',  'n',  'e',  ' ',   // 0..10
        '4',  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makeUnitDescription("Line 4"), expected);
    EXPECT_EQ(parseUnitDescription(filledFrom(PKT_UNIT_DESC, 6, 'D')), std::string(17, 'D'));
    Packet cut = filledFrom(PKT_UNIT_DESC, 6, 'D');
    for (std::size_t i = 23; i < kPacketSize; ++i) {
        cut[i] = 0;
    }
    EXPECT_EQ(makeUnitDescription(std::string(20, 'D')), cut);
}

TEST(CatalogueTexts, ATextStopsAtAnEmbeddedZero) {
    const std::string withZero("ab\0cd", 5);
    const Packet made = makePumpName(0, withZero);
    EXPECT_EQ(made[9], 0);
    EXPECT_EQ(made[10], 0);
    EXPECT_EQ(parsePumpName(made)->text, "ab");
}

TEST(CatalogueSerialNumber, TheUnitSerialNumberIsItsFirstTenCharacters) {
    const Packet expected = packetOf({
        0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x01, 'A',  'B',  'C',  '1',   // 0..10
        '2',  '3',  '4',  '5',  '6',  '7',  0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makeSerialNumber({kUnitSerialNumber, "ABC1234567XYZ"}), expected);
    EXPECT_FALSE(parseSerialNumber(filledFrom(PKT_SERIAL_NUM, 6, '9')));  // kind 0x39
    Packet full = filledFrom(PKT_SERIAL_NUM, 7, '9');
    full[6] = kUnitSerialNumber;
    EXPECT_EQ(parseSerialNumber(full), (SerialNumberText{kUnitSerialNumber, "9999999999"}));
}

TEST(CatalogueSerialNumber, AnIdentificationTextIsATerminatedTextFromByte7) {
    const Packet made = makeSerialNumber({kIdentificationText, std::string(40, 'i')});
    EXPECT_EQ(made[6], 0);
    EXPECT_EQ(made[31], 'i');
    EXPECT_EQ(made[32], 0);
    EXPECT_EQ(parseSerialNumber(made),
              (SerialNumberText{kIdentificationText, std::string(25, 'i')}));
    EXPECT_THROW(makeSerialNumber({2, "x"}), std::out_of_range);
}

TEST(CatalogueUnitTime, TheClockTravelsAsFourteenDigitsThenZeros) {
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 2;
    time.tm_mday = 15;
    time.tm_hour = 9;
    time.tm_min = 8;
    time.tm_sec = 7;
    const Packet expected = packetOf({
        0x00, 0x1E, 0x00, 0x00, 0x00, 0x00, '0',  '9',  '0',  '8',  '0',   // 0..10
        '7',  '1',  '5',  '0',  '3',  '2',  '0',  '2',  '4',  0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(formatUnitTime(time), "09080715032024");
    EXPECT_EQ(makeUnitTime(time), expected);
    EXPECT_EQ(parseUnitTime(expected), "09080715032024");

    const auto back = parseUnitTimeText("09080715032024");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->tm_year, time.tm_year);
    EXPECT_EQ(back->tm_mon, time.tm_mon);
    EXPECT_EQ(back->tm_mday, time.tm_mday);
    EXPECT_EQ(back->tm_hour, time.tm_hour);
    EXPECT_EQ(back->tm_min, time.tm_min);
    EXPECT_EQ(back->tm_sec, time.tm_sec);
}

TEST(CatalogueUnitTime, AUnitWithoutAClockSendsAnEmptyText) {
    Packet noClock;
    noClock[1] = PKT_UNIT_TIME;
    EXPECT_EQ(parseUnitTime(noClock), "");
    EXPECT_FALSE(parseUnitTimeText(""));
    EXPECT_FALSE(parseUnitTime(makeUnitDescription("09080715032024")));
}

TEST(CatalogueUnitTime, ImpossibleTimesAreNeitherSentNorRead) {
    std::tm time{};
    time.tm_year = 124;
    time.tm_mday = 1;
    time.tm_mon = 12;
    EXPECT_EQ(formatUnitTime(time), "");
    time.tm_mon = 0;
    time.tm_hour = 24;
    EXPECT_EQ(formatUnitTime(time), "");
    time.tm_hour = 0;
    time.tm_year = 10000;
    EXPECT_EQ(formatUnitTime(time), "");

    EXPECT_FALSE(parseUnitTimeText("24000001012024"));  // hour 24
    EXPECT_FALSE(parseUnitTimeText("00000000012024"));  // day 0
    EXPECT_FALSE(parseUnitTimeText("00000001132024"));  // month 13
    EXPECT_FALSE(parseUnitTimeText("0000000101202x"));
    EXPECT_FALSE(parseUnitTimeText("000000010120240"));
    // A unit time text fills at most 19 bytes.
    EXPECT_EQ(parseUnitTime(filledFrom(PKT_UNIT_TIME, 6, '1')), std::string(19, '1'));
}

}  // namespace
}  // namespace qelto::protocol
