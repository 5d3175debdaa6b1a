// A scan for qeltoctl: the serial port (the one given, or the one in the settings) and USB, as
// the window's unit list does it, with the links kept open for an operation on a unit found.
#pragma once

#include <string>

#include "cli/cli_context.h"
#include "comms/device_scan.h"
#include "comms/device_table.h"
#include "comms/operator_prompts.h"
#include "protocol/packet_link.h"

namespace qelto::cli {

struct ScanRequest {
    std::string port;  // empty: the SerPort setting
    bool serial = true;
    bool usb = true;
    std::chrono::milliseconds replyTimeout{3000};
};

struct ScanOutcome {
    comms::DeviceTable table;
    comms::ScanLinks links;
    std::string port;  // the serial port that was scanned, for messages
};

// Scans and fills the outcome. A serial port that cannot be opened is reported as a note (the
// scan goes on with USB), as a unit list simply shows no unit on it.
void scanForUnits(const CliContext& ctx, const ScanRequest& request,
                  comms::OperatorPrompts& prompts, ScanOutcome& outcome);

// "RS232/BT", "RF serial", "RF USB", "USB": the link as scripts see it in JSON.
std::string linkName(comms::LinkType type);

}  // namespace qelto::cli
