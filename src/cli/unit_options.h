// The options every qeltoctl command on a unit shares: the link that leads to the unit, its PIN,
// the communications log, the language of the texts, and which groups of settings to move.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "comms/operation_options.h"

namespace qelto::cli {

inline constexpr int kDefaultReplyTimeoutMs = 3000;

struct UnitOptions {
    std::string port;              // serial device; empty when the unit is on USB
    bool usb = false;              // the unit's own USB HID interface (or an RF dongle on USB)
    std::optional<int> rfChannel;  // the unit sits behind an RF dongle on this radio channel
    std::optional<int> unit;       // entry of a fresh scan (as `qeltoctl scan --json` numbers it)
    std::optional<int> pin;        // else --pin-file, QELTO_PIN, then asked at the terminal
    std::optional<std::string> pinFile;
    bool commsLog = false;
    int language = 0;  // 0: the language of the settings
    int replyTimeoutMs = kDefaultReplyTimeoutMs;
    std::optional<std::string> only;  // absent: every group of settings
};

// Adds the link, PIN, log, language and reply-time-out options; withOnly adds --only too.
void addUnitOptions(CLI::App& command, UnitOptions& options, bool withOnly);

// The option flags that a comma list of --only sets; without a list, every group. nullopt, with
// error naming the bad item and listing the valid ones, when an item is not known.
std::optional<comms::Options> optionsFromOnly(const std::optional<std::string>& list,
                                              std::string* error);

// Checks what CLI11 cannot: exactly one link. Returns the message of a usage error, or "".
std::string linkUsageError(const UnitOptions& options);

}  // namespace qelto::cli
