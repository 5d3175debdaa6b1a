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
constexpr const char* kStamp = "2024-03-15, 09:08:07, ";

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

// One packet as the first event of a log, after its date, time and event number: the odd names
// and lines. An ordinary poll and acknowledgement, each way, are logged against the simulated
// unit (tests/integration).
TEST(CommsLogLines, EachPacketKindAndDirectionHasItsLine) {
    Packet oddVersion = ack(0);
    oddVersion[11] = ',';  // version bytes must not break the CSV columns or lines
    oddVersion[12] = '\n';
    oddVersion[13] = 0;
    const struct {
        Packet packet;
        int direction;
        std::string line;
    } rows[] = {
        {poll(0), 5, "1, 0x01,?????,PKT_POLL,CMD_NONE\r\n"},
        // A request built by the PC takes two lines.
        {poll(3), 0, "1, \r\n2024-03-15, 09:08:07,1,0x01,*NEW*,PKT_POLL,CMD_GET_GLOBAL\r\n"},
        {poll(24), 1, "1, 0x01,P>>>,PKT_POLLUnknown PollCmd\r\n"},
        // Program data names program and half, with a trailing comma.
        {packetWithId(105), 1, "1, 0x69,P>>>,PKT_PROG21B,\r\n"},
        {packetWithId(106), 1, "1, 0x6A,P>>>,***UNKNOWN PACKET***\r\n"},
        // Only the classic identifiers have names; the newer ones, the erase among them, do not.
        {packetWithId(3), 1, "1, 0x03,P>>>,****PKT_NAK****\r\n"},
        {packetWithId(63), 1, "1, 0x3F,P>>>,***UNKNOWN PACKET***\r\n"},
        {oddVersion, 1, "1, 0x02,P>>>,PKT_ACK,SN[000012345],S/W[?.??],[KRM01]\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(logged({{row.packet, row.direction}}), kStamp + row.line);
    }
}

// Switched off, nothing is written and no file made; switched on again, the numbering goes on.
TEST(CommsLogSwitch, OffWritesNothingAndTheNumberingGoesOnAfterwards) {
    CommsLog log(fixedEnvironment());
    EXPECT_FALSE(log.enabled());
    log.LogPacket(poll(0), 1);
    EXPECT_FALSE(std::filesystem::exists("CommsLog.csv"));
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

// An existing file is appended to, never truncated: a heading only in a new file, a SysInfo line
// for every run.
TEST(CommsLogFile, TheLogGrowsAcrossRunsWithOneHeadingAndASysInfoLinePerRun) {
    test::writeFile("CommsLog.csv", std::string_view(kHeading));
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
}

}  // namespace
}  // namespace qelto::logs
