// Turns the dongle options into a dongle with its units. Each unit is made exactly as a plain
// --kind laundry unit would be (factory memory, its state file, the identity options over both);
// its own state file, when the option names one, takes the place of --state.
//
//   --rf-unit CHANNEL:SIGNAL[:STATEFILE]   a unit on radio channel 0..254 whose signal the
//                                          dongle reports as SIGNAL (0..255)
//   --bt-module NAME:SIGNAL[:STATEFILE]    a module advertising NAME (1 to 12 printable
//                                          characters, no ":") at -SIGNAL dBm (0..127), with a
//                                          unit behind it
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sim/request_log.h"
#include "sim/sim_setup.h"
#include "sim/unit_port.h"

namespace qelto::sim {

struct DongleSetup {
    bool rf = false;
    std::vector<std::string> rfUnits;
    std::vector<unsigned> refusedChannels;
    bool bluetooth = false;
    std::vector<std::string> bluetoothModules;
};

// nullptr when neither dongle was asked for. Throws StateError with a readable reason for a
// malformed option, a repeated channel or a state file that does not load.
std::unique_ptr<UnitPort> makeDongle(const SimSetup& setup, const DongleSetup& dongle,
                                     RequestLog* log);

}  // namespace qelto::sim
