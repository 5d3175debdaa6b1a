#include "cli/port_commands.h"

#include <iostream>

#include "cli/cli_context.h"
#include "cli/exit_codes.h"
#include "platform/serial_port.h"

namespace qelto::cli {

void addPortCommands(CLI::App& app, int& exitCode) {
    CLI::App* ports = app.add_subcommand(
        "ports", "List the serial ports of this machine (USB adapters, on-board ports)");
    ports->callback([&exitCode] {
        const std::vector<std::string> found = platform::listSerialPorts();
        for (const std::string& port : found) {
            std::cout << port << '\n';
        }
        if (found.empty()) {
            printNote("no serial ports found; is the USB adapter plugged in?");
        }
        exitCode = kExitOk;
    });
}

}  // namespace qelto::cli
