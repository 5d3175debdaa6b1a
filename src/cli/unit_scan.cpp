#include "cli/unit_scan.h"

#include <fmt/format.h>

#include <atomic>

#include "platform/serial_port.h"

namespace qelto::cli {

void scanForUnits(const CliContext& ctx, const ScanRequest& request,
                  comms::OperatorPrompts& prompts, ScanOutcome& outcome) {
    outcome.port = request.port.empty() ? ctx.settings.serPort : request.port;
    comms::ScanSetup setup;
    if (request.serial) {
        setup.openSerial = [&outcome]() -> std::unique_ptr<platform::ByteLink> {
            std::string error;
            auto port = platform::SerialPort::open(outcome.port, 57600, &error);
            if (!port) {
                printNote(error + "; scanning USB only");
            }
            return port;
        };
    }
    if (request.usb) {
        setup.openHid = [] { return platform::OpenHidUnit(platform::HidIds{}); };
    }
    setup.timings.reply = request.replyTimeout;
    setup.timings.throttleSteps = ctx.settings.usbSpeedThrottle;
    setup.hidReplyTimeout = request.replyTimeout;

    protocol::LinkState state;
    const std::atomic<bool> abort{false};
    comms::DeviceScanner scanner(outcome.table, setup, state, abort, prompts,
                                 [&ctx](int id) { return ctx.text(id); });
    scanner.OnSDevicescan();
    outcome.links = std::move(scanner.links());
}

std::string linkName(comms::LinkType type) {
    switch (type) {
        case comms::LinkType::Usb:
            return "USB";
        case comms::LinkType::Serial:
            return "RS232/BT";
        case comms::LinkType::RfSerial:
            return "RF serial";
        case comms::LinkType::RfUsb:
            return "RF USB";
    }
    return "unknown";
}

}  // namespace qelto::cli
