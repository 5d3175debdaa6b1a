// The simulator's main loop: bytes from the pty go to the unit, the unit's answer goes back,
// optionally at the pace of a real line. Signals reach it through a self-pipe, so SIGTERM ends
// it at once instead of after the next poll time-out.
#pragma once

#include <functional>

#include "sim/unit_port.h"

namespace qelto::sim {

struct ServeOptions {
    bool pace = false;
    unsigned baud = 57600;
};

// Installs handlers for SIGTERM, SIGINT (stop) and SIGUSR1 (dump). Call once, before serve().
bool installSignalHandlers();

// Serves until SIGTERM or SIGINT; calls onDumpRequest for every SIGUSR1.
void serve(int master, UnitPort& unit, const ServeOptions& options,
           const std::function<void()>& onDumpRequest);

}  // namespace qelto::sim
