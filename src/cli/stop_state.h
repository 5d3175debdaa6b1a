// What the stop handlers of interrupt_cancel.cpp (POSIX signals) and interrupt_cancel_win.cpp
// (console events) share: the session a stop cancels, and the first stop of the run. Atomics
// only, so a signal handler may read and set them.
#pragma once

#include <atomic>

#include "comms/unit_session.h"

namespace qelto::cli {

// The session of the unit operation under way, or nullptr outside one.
extern std::atomic<comms::UnitSession*> gSession;
// The first stop of the run (kStopInterrupt, ...), or 0.
extern std::atomic<int> gStopSignal;

}  // namespace qelto::cli
