#include <gtest/gtest.h>

#include <stdexcept>

#include "golden_packet.h"
#include "protocol/packet_catalogue.h"

namespace qelto::protocol {
namespace {

using test::noisyPacket;
using test::packetOf;

TEST(CatalogueProgData, HalfACarriesPumps1To5OfTheTrigger) {
    ProgDataHalf data;
    data.program = 2;
    data.half = 0;
    data.trigger = 7;
    data.setting = 2;
    data.pumps[0] = {1, 0, 0, 5, 0};
    data.pumps[0].setRunTime(1, 30);
    data.pumps[2] = {1, 0, 0, 0, 2};
    data.pumps[2].setDose(600);
    data.pumps[4] = {1, 45, 0, 59, 59};
    // Identifier 64 + 2 x 2 = 68.
    const Packet expected = packetOf({
        0x00, 0x44, 0x00, 0x00, 0x00, 0x00, 0x07, 0x02, 0x01, 0x1E, 0x01,  // 0..10
        0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x58, 0x02, 0x00,  // 11..21
        0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x2D, 0x00, 0x3B, 0x3B,  // 22..32
    });
    EXPECT_EQ(makeProgDataHalf(data), expected);
    EXPECT_EQ(parseProgDataHalf(expected), data);
}

TEST(CatalogueProgData, HalfBOfTheLastProgramCarriesPump10InItsLastFiveBytes) {
    ProgDataHalf data;
    data.program = 19;
    data.half = 1;
    data.trigger = 9;
    data.setting = 1;
    data.pumps[4].enabled = 1;
    data.pumps[4].setDose(0x1234);
    // Identifier 64 + 2 x 19 + 1 = 103.
    const Packet expected = packetOf({
        0x00, 0x67, 0x00, 0x00, 0x00, 0x00, 0x09, 0x01, 0x00, 0x00, 0x00,  // 0..10
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x34, 0x12, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makeProgDataHalf(data), expected);
}

TEST(CatalogueProgData, TheSameTwoBytesReadAsRunTimeOrAsDose) {
    Packet packet = noisyPacket(progDataId(0, 0));
    packet[9] = 0x58;
    packet[10] = 0x02;
    const ProgPump pump = parseProgDataHalf(packet)->pumps[0];
    EXPECT_EQ(pump.runSeconds(), 0x58);
    EXPECT_EQ(pump.runMinutes(), 0x02);
    EXPECT_EQ(pump.dose16(), 600);
}

TEST(CatalogueProgData, ProgramAndHalfComeFromTheIdentifier) {
    const auto first = parseProgDataHalf(noisyPacket(64));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->program, 0);
    EXPECT_EQ(first->half, 0);
    const auto pumps6to10 = parseProgDataHalf(noisyPacket(65));
    ASSERT_TRUE(pumps6to10);
    EXPECT_EQ(pumps6to10->program, 0);
    EXPECT_EQ(pumps6to10->half, 1);
    EXPECT_EQ(pumps6to10->trigger, 0xEE);
    const auto last = parseProgDataHalf(noisyPacket(105));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->program, 20);
    EXPECT_EQ(last->half, 1);
    EXPECT_EQ(makeProgDataHalf(*last).id(), 105);
}

TEST(CatalogueProgData, IdentifiersOutside64To105AreNotProgramData) {
    EXPECT_FALSE(parseProgDataHalf(noisyPacket(63)));
    EXPECT_FALSE(parseProgDataHalf(noisyPacket(106)));
    EXPECT_FALSE(parseProgDataHalf(noisyPacket(PKT_ACK)));
    ProgDataHalf tooFar;
    tooFar.program = 21;
    EXPECT_THROW(makeProgDataHalf(tooFar), std::out_of_range);
    ProgDataHalf noSuchHalf;
    noSuchHalf.half = 2;
    EXPECT_THROW(makeProgDataHalf(noSuchHalf), std::out_of_range);
}

TEST(CataloguePumpCal, AGroupCarriesVolumeAndDateOfFivePumps) {
    PumpCalGroup group;
    group.group = 1;
    group.pumps[0] = {600, 15, 3, calibrationYearByte(2019)};
    group.pumps[2] = {1500, 31, 12, calibrationYearByte(2098)};
    group.pumps[4] = {65535, 1, 1, calibrationYearByte(2000)};
    const Packet expected = packetOf({
        0x00, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x01, 0x58, 0x02, 0x0F, 0x03,  // 0..10
        0x13, 0x00, 0x00, 0x00, 0x00, 0x00, 0xDC, 0x05, 0x1F, 0x0C, 0x62,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x01, 0x01, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makePumpCal(group), expected);
    EXPECT_EQ(parsePumpCal(expected), group);
}

TEST(CataloguePumpCal, YearsOutside2000To2098AreSentAsZero) {
    EXPECT_EQ(calibrationYearByte(2019), 19);
    EXPECT_EQ(calibrationYearByte(2098), 98);
    EXPECT_EQ(calibrationYearByte(2099), 0);
    EXPECT_EQ(calibrationYearByte(1999), 0);
    EXPECT_EQ(calibrationYearByte(-5), 0);
}

TEST(CataloguePumpCal, AReplyForAGroupOtherThan0Or1IsRejected) {
    Packet packet = noisyPacket(PKT_PUMPCAL);
    packet[6] = 0;
    EXPECT_TRUE(parsePumpCal(packet));
    packet[6] = 1;
    EXPECT_TRUE(parsePumpCal(packet));
    packet[6] = 2;
    EXPECT_FALSE(parsePumpCal(packet));
    packet[6] = 0xFF;
    EXPECT_FALSE(parsePumpCal(packet));
    packet[1] = PKT_PROGNAME;
    packet[6] = 0;
    EXPECT_FALSE(parsePumpCal(packet));
    PumpCalGroup group;
    group.group = 2;
    EXPECT_THROW(makePumpCal(group), std::out_of_range);
}

TEST(CatalogueEnProgs, AllOnesEnablesAll200Triggers) {
    Packet packet;
    packet[1] = 0x18;
    for (std::size_t i = 6; i <= 30; ++i) {
        packet[i] = 0xFF;
    }
    const auto map = parseEnProgs(packet);
    ASSERT_TRUE(map);
    for (const auto& program : map->enabled) {
        for (const bool trigger : program) {
            EXPECT_TRUE(trigger);
        }
    }
    EXPECT_EQ(makeEnProgs(*map), packet);
}

TEST(CatalogueEnProgs, Triggers1To8HaveAByteForEachProgram) {
    EnProgs map;
    map.enabled[0][0] = true;   // byte 6, bit 0
    map.enabled[19][7] = true;  // byte 25, bit 7
    map.enabled[4][2] = true;   // byte 10, bit 2
    const Packet expected = packetOf({
        0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x04,  // 0..10
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makeEnProgs(map), expected);
    EXPECT_EQ(parseEnProgs(expected), map);
}

TEST(CatalogueEnProgs, Triggers9And10OfFourProgramsShareAByte) {
    // Program 6 (index 5) sits in byte 26 + 5 / 4 = 27 at bits 2 (trigger 9) and 3 (trigger 10).
    Packet trigger9;
    trigger9[1] = 0x18;
    trigger9[27] = 0x04;
    const auto map = parseEnProgs(trigger9);
    ASSERT_TRUE(map);
    for (std::size_t p = 0; p < 20; ++p) {
        for (std::size_t t = 0; t < 10; ++t) {
            EXPECT_EQ(map->enabled[p][t], p == 5 && t == 8) << p << "/" << t;
        }
    }

    EnProgs trigger10;
    trigger10.enabled[5][9] = true;
    trigger10.enabled[19][9] = true;  // byte 30, bit 7
    trigger10.enabled[0][8] = true;   // byte 26, bit 0
    const Packet expected = packetOf({
        0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 0..10
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x01, 0x08, 0x00, 0x00, 0x80, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makeEnProgs(trigger10), expected);
    EXPECT_FALSE(parseEnProgs(noisyPacket(PKT_AUTOFS)));
}

}  // namespace
}  // namespace qelto::protocol
