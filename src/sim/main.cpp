// qelto-unitsim: a simulated unit on a pseudo-terminal, for demos, training and the tests.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>

#include "platform/atomic_file.h"
#include "sim/dongle_setup.h"
#include "sim/pseudo_terminal.h"
#include "sim/serve_loop.h"
#include "sim/sim_setup.h"
#include "sim/sim_state.h"

namespace {

using namespace qelto::sim;

bool writeDump(const std::string& path, const UnitPort& unit) {
    if (path.empty()) {
        return true;
    }
    std::string error;
    if (!qelto::platform::writeFileAtomically(path, unit.dump().dump(2) + "\n", &error)) {
        std::cerr << "qelto-unitsim: " << error << "\n";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"A simulated dosing-pump unit on a pseudo-terminal"};
    SimSetup setup;
    std::string dumpFile;
    std::string pathFile;
    std::string requestLogFile;
    std::string rotation;
    ServeOptions serveOptions;
    std::optional<unsigned> baud;

    app.add_option("--kind", setup.kind, "laundry, legacy-laundry or legacy-dishwash")
        ->check(CLI::IsMember({"laundry", "legacy-laundry", "legacy-dishwash"}));
    app.add_option("--pin", setup.pin, "PIN (legacy: password) that unlocks the unit [1234]");
    app.add_option("--serial", setup.serial, "unit serial number [123456789]");
    app.add_option("--unit-type", setup.unitType, "unit type index [3]");
    app.add_option("--version", setup.version,
                   "software version X.Y.Z [1.3.0]; legacy: none = no device information");
    app.add_flag("--no-clock", setup.noClock, "the unit has no clock");
    app.add_option("--state", setup.stateFile, "initial memory (JSON)")->check(CLI::ExistingFile);
    app.add_option("--usage-seed", setup.usageSeed,
                   "fill the usage log and counters with a history made from this seed");
    app.add_option("--usage-days", setup.usageDays,
                   "days of history for --usage-seed, ending today [30]")
        ->check(CLI::Range(1, 3650));
    app.add_option("--dump", dumpFile,
                   "write the memory here on exit and on SIGUSR1; behind a dongle, a JSON array "
                   "with one entry per unit");
    app.add_option("--path-file", pathFile, "write the pty path here");
    app.add_option("--request-log", requestLogFile, "one JSON line per request received");
    app.add_option("--drop-every", setup.faults.dropEvery, "no reply to every Nth request");
    app.add_option("--corrupt-every", setup.faults.corruptEvery,
                   "every Nth reply with a wrong check word");
    app.add_option("--rotate-every", rotation, "N:K, every Nth reply rotated by K bytes");
    app.add_option("--silent-after", setup.faults.silentAfter, "answer nothing after N requests");
    app.add_option("--nak-every", setup.faults.nakEvery, "refuse every Nth request");
    app.add_flag("--pace", serveOptions.pace, "send at the real line speed");
    app.add_option("--baud", baud, "line speed for --pace [57600, legacy 9600]");
    DongleSetup dongle;
    auto* rfFlag = app.add_flag("--rf-dongle", dongle.rf,
                                "be an RF dongle: answer PKT_RF_SETTINGS and relay every other "
                                "packet to the unit on the current channel");
    app.add_option("--rf-unit", dongle.rfUnits,
                   "CHANNEL:SIGNAL[:STATEFILE], a unit on RF channel 0..254 heard at signal "
                   "strength 0..255, with its own state file (else --state); repeatable")
        ->needs(rfFlag);
    app.add_option("--rf-refuse-channel", dongle.refusedChannels,
                   "the dongle ignores a request for this channel; repeatable")
        ->needs(rfFlag);
    auto* btFlag = app.add_flag("--bt-dongle", dongle.bluetooth,
                                "be a Bluetooth LE serial dongle: AT, AT+DISC?, AT+CONN<d>, then "
                                "pass bytes through to the paired module's unit")
                       ->excludes(rfFlag);
    app.add_option("--bt-module", dongle.bluetoothModules,
                   "NAME:SIGNAL[:STATEFILE], a module advertising NAME at -SIGNAL dBm (0..127) "
                   "with a unit behind it (state file, else --state); up to 10, repeatable")
        ->needs(btFlag);
    CLI11_PARSE(app, argc, argv);

    if (!rotation.empty() && !parseRotation(rotation, setup.faults)) {
        std::cerr << "qelto-unitsim: --rotate-every wants N:K with K from 1 to 34\n";
        return 2;
    }
    serveOptions.baud = baud.value_or(isLegacyKind(setup.kind) ? 9600u : 57600u);

    RequestLog requestLog;
    if (!requestLogFile.empty() && !requestLog.open(requestLogFile)) {
        std::cerr << "qelto-unitsim: cannot write " << requestLogFile << "\n";
        return 2;
    }
    std::unique_ptr<UnitPort> unit;
    try {
        RequestLog* log = requestLogFile.empty() ? nullptr : &requestLog;
        unit = makeDongle(setup, dongle, log);
        if (!unit) {
            unit = makeUnit(setup, log);
        }
    } catch (const std::exception& e) {
        std::cerr << "qelto-unitsim: " << e.what() << "\n";
        return 2;
    }

    std::string error;
    PseudoTerminal pty = PseudoTerminal::create(error);
    if (!pty.isOpen() || !installSignalHandlers()) {
        std::cerr << "qelto-unitsim: " << (error.empty() ? "cannot set up signals" : error) << "\n";
        return 1;
    }
    if (!pathFile.empty() &&
        !qelto::platform::writeFileAtomically(pathFile, pty.clientPath() + "\n", &error)) {
        std::cerr << "qelto-unitsim: " << error << "\n";
        return 1;
    }
    // Printed last, so that whoever waits for this line also finds the path file in place.
    std::cout << pty.clientPath() << std::endl;

    serve(pty.master(), *unit, serveOptions, [&] { writeDump(dumpFile, *unit); });
    return writeDump(dumpFile, *unit) ? 0 : 1;
}
