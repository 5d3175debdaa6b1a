#include "protocol/request_purpose.h"

#include <fmt/format.h>

#include <array>
#include <string_view>

namespace qelto::protocol {
namespace {

// By poll command, CMD_NONE to CMD_GET_UNIT_TIME.
constexpr std::array<std::string_view, 27> kPollPurposes = {
    "polling the unit",
    "reading the run times",
    "reading the cycle counts",
    "reading the global settings",
    "reading the program names",
    "reading the pump names",
    "reading the unit name",
    "reading the customer name",
    "reading the wash statistics",
    "reading the pump calibration",
    "reading the program data",
    "erasing the program data",
    "erasing the names and comments",
    "resetting the counters",
    "locking the unit",
    "unlocking the unit",
    "reading the usage counters",
    "reading the cycle doses",
    "reading the comments",
    "reading the cycle times",
    "erasing the cycle counts",
    "reading the unit description",
    "reading the radio settings",
    "reading which programs are in use",
    "reading the automatic flush setting",
    "reading the reset-to setting",
    "reading the unit clock",
};

std::string_view sentPurpose(std::uint8_t id) {
    switch (id) {
        case PKT_GLOBAL1:
        case PKT_GLOBAL2:
            return "writing the global settings";
        case PKT_PROGNAME:
            return "writing the program names";
        case PKT_PUMPNAME:
            return "writing the pump names";
        case PKT_CUSTNAME:
            return "writing the customer name";
        case PKT_PUMPCAL:
            return "writing the pump calibration";
        case PKT_PUMPOPS:
            return "running a pump";
        case PKT_SERIAL_NUM:
            return "writing the serial number";
        case PKT_COMMENTS:
            return "writing the comments";
        case PKT_UNIT_DESC:
            return "writing the unit description";
        case PKT_RF_SETTINGS:
            return "setting the radio channel";
        case PKT_EN_PROGS:
            return "writing which programs are in use";
        case PKT_AUTOFS:
            return "writing the automatic flush setting";
        case PKT_RESET_TO:
            return "writing the reset-to setting";
        case PKT_UNIT_TIME:
            return "setting the unit clock";
        case PKT_HALVERCOTT:
            return "identifying the unit";
        case PKT_ERASE_EEPROM:
            return "erasing the settings memory";
        default:
            return isProgDataId(id) ? "writing the program data" : std::string_view{};
    }
}

}  // namespace

std::string requestPurpose(const Packet& request) {
    if (request.id() == PKT_POLL) {
        const std::uint8_t command = request[6];
        return command < kPollPurposes.size() ? std::string(kPollPurposes[command])
                                              : fmt::format("sending poll command {}", command);
    }
    const std::string_view purpose = sentPurpose(request.id());
    return purpose.empty() ? fmt::format("sending packet {}", request.id()) : std::string(purpose);
}

}  // namespace qelto::protocol
