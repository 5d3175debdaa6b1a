#include "cli/scan_command.h"

#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/cli_context.h"
#include "cli/exit_codes.h"
#include "cli/terminal_prompts.h"
#include "cli/unit_run.h"
#include "comms/unit_session.h"

namespace qelto::cli {
namespace {

struct ScanOptions {
    std::string port;
    bool usb = false;
    bool json = false;
    int replyTimeoutMs = 3000;
};

// "RS232/BT", "RF serial", "RF USB", "USB": the link as scripts see it in JSON.
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

nlohmann::json entryJson(std::size_t index, const comms::DeviceEntry& entry) {
    return {{"index", index},
            {"serialNo", entry.serialNo},
            {"linkType", static_cast<std::uint32_t>(entry.linkType)},
            {"link", linkName(entry.linkType)},
            {"rfChannel", entry.rfChannel},
            {"signal", entry.signal},
            {"label", entry.label},
            {"line", entry.label + comms::listSuffix(entry)}};
}

int runScan(const ScanOptions& options) {
    CliContext ctx;
    TerminalPrompts prompts(TerminalAnswers{}, [&ctx](int id) { return ctx.text(id); });
    comms::UnitSession session([&ctx](int id) { return ctx.text(id); });
    session.configure(sessionSettings(ctx, options.port, options.replyTimeoutMs));
    // --usb alone looks at USB only; a port given alone is scanned before USB, as always.
    comms::ScanScope scope;
    scope.serial = !options.usb || !options.port.empty();
    session.scan(prompts, scope);
    const comms::DeviceTable& table = session.units();

    const std::size_t count = table.count();
    if (options.json) {
        nlohmann::json list = nlohmann::json::array();
        for (std::size_t i = 0; i < count; ++i) {
            list.push_back(entryJson(i, table[i]));
        }
        std::puts(list.dump(2).c_str());
    } else {
        for (const std::string& line : table.listLines()) {
            std::puts(line.c_str());
        }
    }
    return kExitOk;
}

}  // namespace

void addScanCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<ScanOptions>();
    CLI::App* scan = app.add_subcommand(
        "scan",
        "List the units reachable on the serial port (wired or through a radio dongle) "
        "and on USB");
    scan->add_option("--port", options->port, "Serial port to scan [the SerPort setting]");
    scan->add_flag("--usb", options->usb, "Scan USB only (with --port: the port, then USB)");
    scan->add_flag("--json", options->json,
                   "One JSON list: index (for --unit), serialNo, linkType, link, rfChannel, "
                   "signal, label, line");
    scan->add_option("--reply-timeout", options->replyTimeoutMs,
                     "Milliseconds to wait for each reply outside the scan's quick polls [3000]")
        ->check(CLI::Range(10, 60000));
    scan->callback([options, &exitCode] { exitCode = runScan(*options); });
}

}  // namespace qelto::cli
