#include "logs/comms_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_env.h"

namespace qelto::logs {
namespace {

using protocol::Packet;
using test::readFile;

// 15 March 2024, 09:08:07 local time, whatever the time zone of the machine running the tests.
std::time_t fixedTime() {
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 15;
    local.tm_hour = 9;
    local.tm_min = 8;
    local.tm_sec = 7;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

constexpr const char* kHeading = "Date,Time,EventID,Packet,Direction,Type,Data1,Data2,Data3\r\n";
constexpr const char* kSysInfo = "2024-03-15, 09:08:07,0,SysInfo,User[alice],PC[bench-7]\r\n";

CommsLog::Environment fixedEnvironment() {
    CommsLog::Environment env;
    env.now = fixedTime;
    env.userName = [] { return std::string("alice"); };
    env.hostName = [] { return std::string("bench-7"); };
    env.reportError = [](const std::string& message) {
        ADD_FAILURE() << "unexpected error: " << message;
    };
    return env;
}

Packet packetWithId(std::uint8_t id) {
    Packet packet;
    packet[1] = id;
    return packet;
}

Packet poll(std::uint8_t command) {
    Packet packet = packetWithId(0x01);
    packet[6] = command;
    return packet;
}

// An acknowledgement from unit 12345 running software 2.0.5.
Packet ack(std::uint8_t typeIndex) {
    Packet packet = packetWithId(0x02);
    packet[2] = 0x39;
    packet[3] = 0x30;
    packet[9] = typeIndex;
    packet[11] = '2';
    packet[12] = '0';
    packet[13] = '5';
    return packet;
}

// The lines a fresh log writes after its heading and SysInfo line.
std::string logged(const std::vector<std::pair<Packet, int>>& packets) {
    std::filesystem::remove("CommsLog.csv");
    CommsLog log(fixedEnvironment());
    log.setEnabled(true);
    for (const auto& [packet, direction] : packets) {
        log.LogPacket(packet, direction);
    }
    const std::string text = readFile("CommsLog.csv");
    const std::string prefix = std::string(kHeading) + kSysInfo;
    EXPECT_EQ(text.substr(0, prefix.size()), prefix);
    return text.substr(prefix.size());
}

std::string typeOf(const Packet& packet) {
    return logged({{packet, 1}});
}

TEST(CommsLogSwitch, NothingIsWrittenAndNoFileCreatedWhileSwitchedOff) {
    CommsLog log(fixedEnvironment());
    EXPECT_FALSE(log.enabled());
    EXPECT_EQ(log.LogPacket(poll(0), 1), 0);
    EXPECT_FALSE(std::filesystem::exists("CommsLog.csv"));

    log.setEnabled(true);
    log.setEnabled(false);
    log.LogPacket(poll(0), 2);
    EXPECT_FALSE(std::filesystem::exists("CommsLog.csv"));
}

TEST(CommsLogSwitch, NumberingGoesOnAfterTheLogWasSwitchedOffAndOnAgain) {
    CommsLog log(fixedEnvironment());
    log.setEnabled(true);
    log.LogPacket(poll(14), 1);
    log.setEnabled(false);
    log.LogPacket(poll(14), 2);
    log.setEnabled(true);
    log.LogPacket(poll(14), 2);
    EXPECT_EQ(readFile("CommsLog.csv"),
              std::string(kHeading) + kSysInfo +
                  "2024-03-15, 09:08:07, 1, 0x01,P>>>,PKT_POLL,CMD_LOCK\r\n"
                  "2024-03-15, 09:08:07, 2, 0x01,<<<U,PKT_POLL,CMD_LOCK\r\n");
}

TEST(CommsLogLines, TheFirstPacketWritesTheHeadingAndSysInfoAsEventZero) {
    CommsLog log(fixedEnvironment());
    log.setEnabled(true);
    log.LogPacket(poll(0), 1);
    EXPECT_EQ(readFile("CommsLog.csv"),
              "Date,Time,EventID,Packet,Direction,Type,Data1,Data2,Data3\r\n"
              "2024-03-15, 09:08:07,0,SysInfo,User[alice],PC[bench-7]\r\n"
              "2024-03-15, 09:08:07, 1, 0x01,P>>>,PKT_POLL,CMD_NONE\r\n");
}

TEST(CommsLogLines, ABuiltRequestTakesTwoLines) {
    EXPECT_EQ(logged({{poll(3), 0}}),
              "2024-03-15, 09:08:07, 1, \r\n"
              "2024-03-15, 09:08:07,1,0x01,*NEW*,PKT_POLL,CMD_GET_GLOBAL\r\n");
}

TEST(CommsLogLines, EveryDirectionHasItsText) {
    EXPECT_EQ(
        logged(
            {{poll(0), 1}, {poll(0), 2}, {poll(0), 3}, {poll(0), 4}, {poll(0), 5}, {poll(0), -1}}),
        "2024-03-15, 09:08:07, 1, 0x01,P>>>,PKT_POLL,CMD_NONE\r\n"
        "2024-03-15, 09:08:07, 2, 0x01,<<<U,PKT_POLL,CMD_NONE\r\n"
        "2024-03-15, 09:08:07, 3, 0x01,P>2>,PKT_POLL,CMD_NONE\r\n"
        "2024-03-15, 09:08:07, 4, 0x01,<2<U,PKT_POLL,CMD_NONE\r\n"
        "2024-03-15, 09:08:07, 5, 0x01,?????,PKT_POLL,CMD_NONE\r\n"
        "2024-03-15, 09:08:07, 6, 0x01,?????,PKT_POLL,CMD_NONE\r\n");
}

TEST(CommsLogLines, TheUserAndAMissingComputerNameGoIntoSysInfo) {
    CommsLog::Environment env = fixedEnvironment();
    env.userName = [] { return std::string(); };
    env.hostName = [] { return std::string(); };
    CommsLog log(env);
    log.setEnabled(true);
    log.LogPacket(poll(0), 1);
    EXPECT_EQ(readFile("CommsLog.csv"),
              std::string(kHeading) +
                  "2024-03-15, 09:08:07,0,SysInfo,User[],PC[**Unknown PC**]\r\n"
                  "2024-03-15, 09:08:07, 1, 0x01,P>>>,PKT_POLL,CMD_NONE\r\n");
}

TEST(CommsLogTypes, ProgramDataIdentifiersNameProgramAndHalfWithATrailingComma) {
    EXPECT_EQ(typeOf(packetWithId(64)), "2024-03-15, 09:08:07, 1, 0x40,P>>>,PKT_PROG01A,\r\n");
    EXPECT_EQ(typeOf(packetWithId(65)), "2024-03-15, 09:08:07, 1, 0x41,P>>>,PKT_PROG01B,\r\n");
    EXPECT_EQ(typeOf(packetWithId(105)), "2024-03-15, 09:08:07, 1, 0x69,P>>>,PKT_PROG21B,\r\n");
    EXPECT_EQ(typeOf(packetWithId(106)),
              "2024-03-15, 09:08:07, 1, 0x6A,P>>>,***UNKNOWN PACKET***\r\n");
}

TEST(CommsLogTypes, OnlyTheClassicIdentifiersHaveNames) {
    EXPECT_EQ(typeOf(packetWithId(3)), "2024-03-15, 09:08:07, 1, 0x03,P>>>,****PKT_NAK****\r\n");
    EXPECT_EQ(typeOf(packetWithId(6)), "2024-03-15, 09:08:07, 1, 0x06,P>>>,PKT_GLOBAL1\r\n");
    EXPECT_EQ(typeOf(packetWithId(7)), "2024-03-15, 09:08:07, 1, 0x07,P>>>,PKT_GLOBAL2\r\n");
    EXPECT_EQ(typeOf(packetWithId(18)), "2024-03-15, 09:08:07, 1, 0x12,P>>>,PKT_COMMENTS\r\n");
    EXPECT_EQ(typeOf(packetWithId(62)), "2024-03-15, 09:08:07, 1, 0x3E,P>>>,PKT_HALVERCOTT\r\n");
    // The newer packets, the erase request among them, have no name in the log.
    EXPECT_EQ(typeOf(packetWithId(19)),
              "2024-03-15, 09:08:07, 1, 0x13,P>>>,***UNKNOWN PACKET***\r\n");
    EXPECT_EQ(typeOf(packetWithId(30)),
              "2024-03-15, 09:08:07, 1, 0x1E,P>>>,***UNKNOWN PACKET***\r\n");
    EXPECT_EQ(typeOf(packetWithId(63)),
              "2024-03-15, 09:08:07, 1, 0x3F,P>>>,***UNKNOWN PACKET***\r\n");
    EXPECT_EQ(typeOf(packetWithId(0xFF)),
              "2024-03-15, 09:08:07, 1, 0xFF,P>>>,***UNKNOWN PACKET***\r\n");
}

TEST(CommsLogTypes, PollCommandsFrom24OnAreUnknownWithoutAComma) {
    EXPECT_EQ(typeOf(poll(23)), "2024-03-15, 09:08:07, 1, 0x01,P>>>,PKT_POLL,CMD_GET_EN_PROGS\r\n");
    EXPECT_EQ(typeOf(poll(24)), "2024-03-15, 09:08:07, 1, 0x01,P>>>,PKT_POLLUnknown PollCmd\r\n");
    EXPECT_EQ(typeOf(poll(0xFF)), "2024-03-15, 09:08:07, 1, 0x01,P>>>,PKT_POLLUnknown PollCmd\r\n");
}

TEST(CommsLogIdentity, AcknowledgementsShowSerialVersionAndModel) {
    EXPECT_EQ(typeOf(ack(12)),
              "2024-03-15, 09:08:07, 1, 0x02,P>>>,PKT_ACK,SN[000012345],S/W[2.05],[KRHM03]\r\n");
    EXPECT_EQ(typeOf(ack(9)),
              "2024-03-15, 09:08:07, 1, 0x02,P>>>,PKT_ACK,SN[000012345],S/W[2.05],[KRM10]\r\n");
    EXPECT_EQ(typeOf(ack(0)),
              "2024-03-15, 09:08:07, 1, 0x02,P>>>,PKT_ACK,SN[000012345],S/W[2.05],[KRM01]\r\n");
}

TEST(CommsLogIdentity, TheNewestIdentityIsShownAndOtherPacketsDoNotRepeatIt) {
    Packet second = ack(10);
    second[2] = 0xFF;
    second[3] = 0xFF;
    second[4] = 0xFF;
    second[5] = 0xFF;
    second[12] = '1';
    EXPECT_EQ(logged({{ack(9), 2}, {poll(14), 1}, {second, 2}}),
              "2024-03-15, 09:08:07, 1, 0x02,<<<U,PKT_ACK,SN[000012345],S/W[2.05],[KRM10]\r\n"
              "2024-03-15, 09:08:07, 2, 0x01,P>>>,PKT_POLL,CMD_LOCK\r\n"
              "2024-03-15, 09:08:07, 3, 0x02,<<<U,PKT_ACK,SN[4294967295],S/W[2.15],[KRHM01]\r\n");
}

TEST(CommsLogIdentity, VersionBytesCannotBreakTheCsvColumnsOrLines) {
    Packet odd = ack(0);
    odd[11] = ',';
    odd[12] = '\n';
    odd[13] = 0;
    EXPECT_EQ(typeOf(odd),
              "2024-03-15, 09:08:07, 1, 0x02,P>>>,PKT_ACK,SN[000012345],S/W[?.??],[KRM01]\r\n");
}

TEST(CommsLogFile, TheLogGrowsAcrossRunsWithOneHeadingAndASysInfoLinePerRun) {
    for (int run = 0; run < 2; ++run) {
        CommsLog log(fixedEnvironment());
        log.setEnabled(true);
        log.LogPacket(poll(15), 1);
    }
    EXPECT_EQ(readFile("CommsLog.csv"),
              std::string(kHeading) + kSysInfo +
                  "2024-03-15, 09:08:07, 1, 0x01,P>>>,PKT_POLL,CMD_UNLOCK\r\n" + kSysInfo +
                  "2024-03-15, 09:08:07, 1, 0x01,P>>>,PKT_POLL,CMD_UNLOCK\r\n");
}

TEST(CommsLogFile, AnExistingFileIsAppendedToAndNeverTruncated) {
    test::writeFile("CommsLog.csv", std::string_view("an older line\r\n"));
    CommsLog log(fixedEnvironment());
    log.setEnabled(true);
    log.LogPacket(poll(0), 1);
    EXPECT_EQ(readFile("CommsLog.csv"),
              std::string("an older line\r\n") + kSysInfo +
                  "2024-03-15, 09:08:07, 1, 0x01,P>>>,PKT_POLL,CMD_NONE\r\n");
}

TEST(CommsLogFile, AFileThatCannotBeCreatedIsReportedForEveryPacket) {
    CommsLog::Environment env = fixedEnvironment();
    env.file = "no-such-folder/CommsLog.csv";
    std::vector<std::string> errors;
    env.reportError = [&errors](const std::string& message) { errors.push_back(message); };
    CommsLog log(env);
    log.setEnabled(true);
    log.LogPacket(poll(0), 1);
    log.LogPacket(poll(0), 2);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0],
              "Error creating Comms Log file 'CommsLog.csv'.\r\n\nPlease close Excel if Open!!");
    EXPECT_FALSE(std::filesystem::exists("no-such-folder"));

    // Once the file can be made, the first packet that gets in is still the run's first.
    std::filesystem::create_directory("no-such-folder");
    log.LogPacket(poll(0), 1);
    EXPECT_EQ(readFile("no-such-folder/CommsLog.csv"),
              std::string(kHeading) + kSysInfo +
                  "2024-03-15, 09:08:07, 1, 0x01,P>>>,PKT_POLL,CMD_NONE\r\n");
}

}  // namespace
}  // namespace qelto::logs
