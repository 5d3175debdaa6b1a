#include "cli/bt_commands.h"

#include <fmt/format.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/cli_context.h"
#include "cli/exit_codes.h"
#include "cli/interrupt_cancel.h"
#include "cli/unit_options.h"
#include "cli/unit_run.h"
#include "comms/bluetooth_dongle.h"
#include "comms/bluetooth_texts.h"
#include "comms/unit_session.h"
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
    printMessage(std::string(comms::bluetoothStatus(language, message).text));
}

comms::SessionSettings dongleSettings(const CliContext& ctx, const std::string& port) {
    return sessionSettings(ctx, port, kDefaultReplyTimeoutMs);
}

int runScan(const BtOptions& options) {
    CliContext ctx(options.language);
    comms::UnitSession session([&ctx](int id) { return ctx.text(id); });
    session.configure(dongleSettings(ctx, options.port));
    const InterruptCancels interrupts(session);
    bool scanning = false;
    const comms::BluetoothScan found = session.scanBluetooth([&](std::size_t) {
        if (!scanning) {
            say(ctx, comms::BluetoothMessage::Scanning);
            scanning = true;
        }
    });
    if (!found.dongleFound) {
        say(ctx, comms::BluetoothMessage::NoDongle);
        printError(found.error);
        return kExitFailure;
    }
    if (found.lines.empty()) {
        say(ctx, comms::BluetoothMessage::NoUnits);
        return kExitOk;
    }
    for (std::size_t i = 0; i < found.lines.size(); ++i) {
        std::printf("%zu %s\n", i, platform::latin1ToUtf8(found.lines[i]).c_str());
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
    comms::UnitSession session([&ctx](int id) { return ctx.text(id); });
    session.configure(dongleSettings(ctx, options.port));
    std::string error;
    switch (session.pairBluetooth(static_cast<std::size_t>(options.line), &error)) {
        case comms::PairResult::Paired:
            printMessage(comms::pairedStatus(fmt::format("line {}", options.line)));
            printMessage(
                fmt::format("the unit is now reached through {} like a wired one", options.port));
            return kExitOk;
        case comms::PairResult::LineOutOfRange:
            printError(fmt::format("line {} cannot be paired: the dongle takes lines 0 to {}",
                                   options.line, comms::kMaxPairLine));
            return kExitUsage;
        case comms::PairResult::Refused:
        case comms::PairResult::NoReply:
            break;
    }
    if (!error.empty()) {
        say(ctx, comms::BluetoothMessage::NoDongle);
        printError(error);
        return kExitFailure;
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
