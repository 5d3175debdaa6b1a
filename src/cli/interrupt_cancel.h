// However qeltoctl is stopped while it works on a unit (Ctrl-C, `kill`, `timeout`, a closed SSH
// session, a reader of its output that went away), the operation is cancelled instead of the
// process dying, so the unit is still locked again. Outside a unit operation the same signals end
// the process as they always did, but never with the terminal's echo left off.
#pragma once

#include <atomic>

#include "comms/unit_session.h"

namespace qelto::cli {

// Takes over SIGINT, SIGTERM, SIGHUP and SIGPIPE for the whole run. A signal the shell told us to
// ignore (a background job's Ctrl-C, nohup's hang-up) stays ignored. With SIGPIPE handled, a
// write to a closed pipe fails with EPIPE instead of killing the process.
void installStopHandlers();

// The signal that stopped a unit operation of this run, or 0. Its exit status is 128 + it.
int stopSignal();

// While it lives, a stop signal cancels what the session is doing: only the lock still reaches
// the unit, and a wait on the port ends at once. Only the first signal counts; a second Ctrl-C
// quits at once.
class InterruptCancels {
  public:
    explicit InterruptCancels(comms::UnitSession& session);
    ~InterruptCancels();
    InterruptCancels(const InterruptCancels&) = delete;
    InterruptCancels& operator=(const InterruptCancels&) = delete;

    bool interrupted() const;
};

}  // namespace qelto::cli
