#include "cli/bt_commands.h"

#include <fmt/format.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/cli_context.h"
#include "cli/exit_codes.h"
#include "cli/interrupt_cancel.h"
#include "comms/bluetooth_dongle.h"
#include "comms/bluetooth_modules.h"
#include "comms/bluetooth_texts.h"
#include "platform/serial_port.h"
#include "platform/text_encoding.h"

namespace qelto::cli {
namespace {

struct BtOptions {
    std::string port;
    int line = 0;
    int language = 0;
};

void say(const CliContext& ctx, comms::BluetoothMessage message) {
    const int language = ctx.settings.language != 0 ? ctx.settings.language : 1;
    std::fprintf(stderr, "%s\n",
                 std::string(comms::bluetoothStatus(language, message).text).c_str());
}

// The dongle on the port, found with "AT"; nullptr with the reason on stderr.
std::unique_ptr<platform::SerialPort> openDongle(const CliContext& ctx, const std::string& port) {
    std::string error;
    auto serial = platform::SerialPort::open(port, 57600, &error);
    if (!serial) {
        printError(error);
        return nullptr;
    }
    std::atomic<bool> abort{false};
    comms::BluetoothDongle dongle(*serial, abort);
    if (!dongle.detect()) {
        say(ctx, comms::BluetoothMessage::NoDongle);
        printError(
            fmt::format("no Bluetooth dongle answered \"AT\" on {}; check that it is "
                        "plugged in and that this is its port",
                        port));
        return nullptr;
    }
    return serial;
}

int runScan(const BtOptions& options) {
    CliContext ctx(options.language);
    auto serial = openDongle(ctx, options.port);
    if (!serial) {
        return kExitFailure;
    }
    std::atomic<bool> abort{false};
    const InterruptCancels interrupts(abort, serial.get());
    comms::BluetoothDongle dongle(*serial, abort);
    say(ctx, comms::BluetoothMessage::Scanning);
    const auto received = dongle.discover();
    const auto lines = comms::parseModuleList(received);
    if (lines.empty()) {
        say(ctx, comms::BluetoothMessage::NoUnits);
        return kExitOk;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::printf("%zu %s\n", i, platform::latin1ToUtf8(lines[i]).c_str());
    }
    say(ctx, comms::BluetoothMessage::SelectUnit);
    return kExitOk;
}

int runPair(const BtOptions& options) {
    if (static_cast<std::size_t>(options.line) > comms::kMaxPairLine) {
        printError(fmt::format("line {} cannot be paired: the dongle takes lines 0 to {}",
                               options.line, comms::kMaxPairLine));
        return kExitUsage;
    }
    CliContext ctx(options.language);
    auto serial = openDongle(ctx, options.port);
    if (!serial) {
        return kExitFailure;
    }
    std::atomic<bool> abort{false};
    comms::BluetoothDongle dongle(*serial, abort);
    switch (dongle.pair(static_cast<std::size_t>(options.line))) {
        case comms::PairResult::Paired:
            std::fprintf(stderr, "%s\n",
                         comms::pairedStatus(fmt::format("line {}", options.line)).c_str());
            std::fprintf(stderr, "The unit is now reached through %s like a wired one.\n",
                         options.port.c_str());
            return kExitOk;
        case comms::PairResult::LineOutOfRange:
            printError(fmt::format("line {} cannot be paired: the dongle takes lines 0 to {}",
                                   options.line, comms::kMaxPairLine));
            return kExitUsage;
        case comms::PairResult::Refused:
        case comms::PairResult::NoReply:
            break;
    }
    say(ctx, comms::BluetoothMessage::PairingError);
    printError(
        fmt::format("the dongle on {} did not connect to line {}; run `qeltoctl bt scan` "
                    "again and check that the unit is switched on",
                    options.port, options.line));
    return kExitFailure;
}

}  // namespace

void addBluetoothCommands(CLI::App& app, int& exitCode) {
    CLI::App* bt = app.add_subcommand("bt", "The Bluetooth LE dongle on a serial port");
    bt->require_subcommand(1);

    auto scan = std::make_shared<BtOptions>();
    CLI::App* scanCmd = bt->add_subcommand(
        "scan",
        "List the units the dongle hears, one numbered line each (the number is for "
        "`bt pair`)");
    scanCmd->add_option("--port", scan->port, "Serial port of the dongle")->required();
    scanCmd->add_option("--language", scan->language, "Language of the texts (1..10)")
        ->check(CLI::Range(1, 10));
    scanCmd->callback([scan, &exitCode] { exitCode = runScan(*scan); });

    auto pair = std::make_shared<BtOptions>();
    CLI::App* pairCmd =
        bt->add_subcommand("pair", "Connect the dongle to the unit of a `bt scan` line");
    pairCmd->add_option("N", pair->line, "Line number from `qeltoctl bt scan`")
        ->required()
        ->check(CLI::NonNegativeNumber);
    pairCmd->add_option("--port", pair->port, "Serial port of the dongle")->required();
    pairCmd->add_option("--language", pair->language, "Language of the texts (1..10)")
        ->check(CLI::Range(1, 10));
    pairCmd->callback([pair, &exitCode] { exitCode = runPair(*pair); });
}

}  // namespace qelto::cli
