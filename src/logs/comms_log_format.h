// The texts of the communications log, apart from the file they go to: the heading, the SysInfo
// line and the line of each packet.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "protocol/packet.h"

namespace qelto::logs {

inline constexpr std::string_view kCommsLogHeading =
    "Date,Time,EventID,Packet,Direction,Type,Data1,Data2,Data3\r\n";

// What the last acknowledgement said about the unit. An acknowledgement updates these texts and
// every later one shows them again, so a unit change shows up in the log.
struct IdentityTexts {
    std::string serial = "None Found";
    std::string software = "None Found";
    std::string model = "None Found";
};

// "%Y-%m-%d, %H:%M:%S" in local time: the date and the time fill two columns.
std::string logTimestamp(std::time_t when);

std::string sysInfoLine(std::string_view timestamp, std::string_view user, std::string_view pc);

// Reads the unit's serial number, version and model from a PKT_ACK.
IdentityTexts identityTextsOf(const protocol::Packet& ack);

// The packet's name in the Type column (and the identity columns of an acknowledgement, after
// updating `last` from it).
std::string packetTypeText(const protocol::Packet& packet, IdentityTexts& last);

// The text of one packet for event number n, ending in CRLF. A request the PC has just built
// (direction 0) takes two lines.
std::string packetLine(std::string_view timestamp, std::uint32_t n, const protocol::Packet& packet,
                       int direction, IdentityTexts& last);

}  // namespace qelto::logs
