#include "logs/comms_log_format.h"

#include <fmt/format.h>

#include <array>

#include "platform/calendar_time.h"

namespace qelto::logs {
namespace {

using protocol::Packet;

constexpr std::array<std::string_view, 24> kPollCommandNames = {
    ",CMD_NONE",          ",CMD_GET_RUNTIME",     ",CMD_GET_CYCLES",
    ",CMD_GET_GLOBAL",    ",CMD_GET_PROGNAME",    ",CMD_GET_PUMPNAME",
    ",CMD_GET_UNITNAME",  ",CMD_GET_CUSTNAME",    ",CMD_GET_WASHSTAT",
    ",CMD_GET_PUMPCAL",   ",CMD_GET_PROGDATA",    ",CMD_ERASE_FORMULA",
    ",CMD_ERASE_NAMES",   ",CMD_RESET",           ",CMD_LOCK",
    ",CMD_UNLOCK",        ",CMD_GET_REPORT",      ",CMD_GET_CYC_DOSE",
    ",CMD_GET_COMMENTS",  ",CMD_GET_CYC_TIME",    ",CMD_ERASE_CYCLE",
    ",CMD_GET_UNIT_DESC", ",CMD_GET_RF_SETTINGS", ",CMD_GET_EN_PROGS",
};

// Identifiers 0..18 in order; the others with a name are handled on their own.
constexpr std::array<std::string_view, 19> kPacketNames = {
    "PKT_NONE",     "PKT_POLL",       "PKT_ACK",      "****PKT_NAK****", "PKT_RTIME",
    "PKT_CYCLES",   "PKT_GLOBAL1",    "PKT_GLOBAL2",  "PKT_PROGNAME",    "PKT_PUMPNAME",
    "PKT_UNITNAME", "PKT_CUSTNAME",   "PKT_WASHSTAT", "PKT_PUMPCAL",     "PKT_REPORT",
    "PKT_PUMPOPS",  "PKT_SERIAL_NUM", "PKT_CYC_DOSE", "PKT_COMMENTS",
};

constexpr std::array<std::string_view, 5> kDirectionTexts = {"*NEW*,", "P>>>,", "<<<U,", "P>2>,",
                                                             "<2<U,"};

// Bytes that come from a unit or the system must not break the columns or the lines of the
// CSV, so control characters, commas and quotes become '?'.
char csvSafe(std::uint8_t byte) {
    if (byte < 0x20 || byte == 0x7F || byte == ',' || byte == '"') {
        return '?';
    }
    return static_cast<char>(byte);
}

std::string csvSafe(std::string_view text) {
    std::string safe;
    safe.reserve(text.size());
    for (const char c : text) {
        safe.push_back(csvSafe(static_cast<std::uint8_t>(c)));
    }
    return safe;
}

std::string pollText(const Packet& packet) {
    const std::uint8_t command = packet[6];
    const std::string_view name =
        command < kPollCommandNames.size() ? kPollCommandNames[command] : "Unknown PollCmd";
    return fmt::format("PKT_POLL{}", name);
}

}  // namespace

std::string logTimestamp(std::time_t when) {
    std::tm local{};
    if (!platform::localTime(when, local)) {
        return "0000-00-00, 00:00:00";
    }
    return fmt::format("{:04}-{:02}-{:02}, {:02}:{:02}:{:02}", local.tm_year + 1900,
                       local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
}

std::string sysInfoLine(std::string_view timestamp, std::string_view user, std::string_view pc) {
    return fmt::format("{},0,SysInfo,User[{}],PC[{}]\r\n", timestamp, csvSafe(user), csvSafe(pc));
}

IdentityTexts identityTextsOf(const Packet& ack) {
    IdentityTexts texts;
    texts.serial = fmt::format("SN[{:09}]", ack.u32(2));
    texts.software =
        fmt::format("S/W[{}.{}{}]", csvSafe(ack[11]), csvSafe(ack[12]), csvSafe(ack[13]));
    // Model numbers above 10 are the high-capacity models, numbered again from 1.
    const unsigned model = ack[9] + 1u;
    texts.model =
        model > 10 ? fmt::format("[KRHM{:02}]", model - 10) : fmt::format("[KRM{:02}]", model);
    return texts;
}

std::string packetTypeText(const Packet& packet, IdentityTexts& last) {
    const std::uint8_t id = packet.id();
    if (id == protocol::PKT_POLL) {
        return pollText(packet);
    }
    if (id == protocol::PKT_ACK) {
        last = identityTextsOf(packet);
        return fmt::format("PKT_ACK,{},{},{}", last.serial, last.software, last.model);
    }
    if (id < kPacketNames.size()) {
        return std::string(kPacketNames[id]);
    }
    if (id == protocol::PKT_HALVERCOTT) {
        return "PKT_HALVERCOTT";
    }
    if (protocol::isProgDataId(id)) {
        const unsigned k = id - unsigned{protocol::PKT_PROG_FIRST};
        return fmt::format("PKT_PROG{:02}{},", k / 2 + 1, static_cast<char>('A' + k % 2));
    }
    return "***UNKNOWN PACKET***";
}

std::string packetLine(std::string_view timestamp, std::uint32_t n, const Packet& packet,
                       int direction, IdentityTexts& last) {
    std::string record = fmt::format("0x{:02X},", packet.id());
    if (direction == 0) {
        // The inner line writes the event number signed; the two numbers differ only past 2^31
        // events.
        record = fmt::format("\r\n{},{},{}{}", timestamp, static_cast<std::int32_t>(n), record,
                             kDirectionTexts[0]);
    } else if (direction > 0 && static_cast<std::size_t>(direction) < kDirectionTexts.size()) {
        record += kDirectionTexts[static_cast<std::size_t>(direction)];
    } else {
        record += "?????,";
    }
    record += packetTypeText(packet, last);
    return fmt::format("{}, {}, {}\r\n", timestamp, n, record);
}

}  // namespace qelto::logs
