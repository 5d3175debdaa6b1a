#include "cli/unit_options.h"

#include <fmt/format.h>

#include <array>

#include "cli/pin_entry.h"
#include "platform/text_helpers.h"

namespace qelto::cli {
namespace {

struct OnlyItem {
    std::string_view name;
    bool comms::Options::*flag;
};

// The seven groups an engineer can pick; bAppendComments and bSpare are no group of settings.
constexpr std::array<OnlyItem, 7> kOnlyItems{{
    {"pump-names", &comms::Options::bPumpNames},
    {"prog-names", &comms::Options::bProgNames},
    {"pump-cal", &comms::Options::bPumpCal},
    {"pump-data", &comms::Options::bPumpData},
    {"comments", &comms::Options::bComments},
    {"serial-no", &comms::Options::bSerialNo},
    {"description", &comms::Options::bDescription},
}};

std::string validItems() {
    std::string out;
    for (const OnlyItem& item : kOnlyItems) {
        out += out.empty() ? "" : ", ";
        out += item.name;
    }
    return out;
}

bool setItem(comms::Options& options, std::string_view name) {
    for (const OnlyItem& item : kOnlyItems) {
        if (item.name == name) {
            options.*item.flag = true;
            return true;
        }
    }
    return false;
}

}  // namespace

void addUnitOptions(CLI::App& command, UnitOptions& options, bool withOnly) {
    CLI::Option* port =
        command.add_option("--port", options.port, "Serial port of the unit (57600 baud)");
    CLI::Option* usb = command.add_flag("--usb", options.usb, "The unit on USB")->excludes(port);
    CLI::Option* rf =
        command
            .add_option("--rf-channel", options.rfChannel,
                        "The unit answers through an RF dongle (on --port, or on USB with --usb) "
                        "on this radio channel")
            ->check(CLI::Range(0, 254));
    command
        .add_option("--unit", options.unit,
                    "The unit at this index of a fresh scan (0 is the first line of `qeltoctl "
                    "scan`); --port then names the serial port to scan [the SerPort setting]")
        ->check(CLI::Range(0, 29))
        ->excludes(usb)
        ->excludes(rf);
    // Read as the engineer types it at the prompt: decimal, leading zeros allowed. CLI11 alone
    // would take 01234 for an octal number and send the unit 668.
    CLI::Option* pin =
        command
            .add_option_function<std::string>(
                "--pin", [&options](const std::string& text) { options.pin = *parsePin(text); },
                "The unit's PIN, 0 to 65535; seen by every user in the process list, so prefer "
                "--pin-file or QELTO_PIN (asked at the terminal when none is given)")
            ->check(CLI::Validator(
                [](std::string& text) {
                    return parsePin(text) ? std::string{}
                                          : "a PIN is a number from 0 to 65535, in decimal digits";
                },
                "PIN"));
    command
        .add_option("--pin-file", options.pinFile,
                    "A file whose first line is the unit's PIN (keep it readable by you only)")
        ->excludes(pin);
    command.add_flag("--comms-log", options.commsLog,
                     "Append every packet to CommsLog.csv in the log directory of the settings");
    command
        .add_option("--language", options.language,
                    "Language of the texts (1..10); the unit's own display language still "
                    "follows the settings")
        ->check(CLI::Range(1, 10));
    command
        .add_option("--reply-timeout", options.replyTimeoutMs,
                    "Milliseconds to wait for each reply of the unit [3000]")
        ->check(CLI::Range(10, 60000));
    if (withOnly) {
        command.add_option("--only", options.only,
                           "Comma list of the groups to move: " + validItems() + " [all]");
    }
}

std::optional<comms::Options> optionsFromOnly(const std::optional<std::string>& list,
                                              std::string* error) {
    comms::Options options;
    if (!list) {
        for (const OnlyItem& item : kOnlyItems) {
            options.*item.flag = true;
        }
        return options;
    }
    std::string_view rest = *list;
    for (;;) {
        const auto comma = rest.find(',');
        const std::string_view name = platform::trimmed(rest.substr(0, comma));
        if (!setItem(options, name)) {
            if (error != nullptr) {
                *error = fmt::format("--only: {}; the valid items are {}",
                                     name.empty() ? std::string("empty item")
                                                  : fmt::format("unknown item '{}'", name),
                                     validItems());
            }
            return std::nullopt;
        }
        if (comma == std::string_view::npos) {
            return options;
        }
        rest.remove_prefix(comma + 1);
    }
}

std::string linkUsageError(const UnitOptions& options) {
    if (options.port.empty() && !options.usb && !options.unit) {
        return "say where the unit is: --port DEV for a serial port, --usb, or --unit N for a "
               "unit of `qeltoctl scan`";
    }
    return {};
}

}  // namespace qelto::cli
