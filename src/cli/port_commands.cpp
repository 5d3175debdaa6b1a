#include "cli/port_commands.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_context.h"
#include "cli/exit_codes.h"
#include "platform/serial_port.h"

namespace qelto::cli {

void addPortCommands(CLI::App& app, int& exitCode) {
    auto json = std::make_shared<bool>(false);
    CLI::App* ports = app.add_subcommand(
        "ports", "List the serial ports of this machine (USB adapters, on-board ports)");
    ports->add_flag("--json", *json, "Print one JSON list of the ports' device paths");
    ports->callback([json, &exitCode] {
        const std::vector<std::string> found = platform::listSerialPorts();
        if (*json) {
            std::cout << nlohmann::json(found).dump() << '\n';
        } else {
            for (const std::string& port : found) {
                std::cout << port << '\n';
            }
        }
        if (found.empty()) {
            printNote("no serial ports found; is the USB adapter plugged in?");
        }
        exitCode = kExitOk;
    });
}

}  // namespace qelto::cli
