// However qeltoctl is stopped while it works on a unit (Ctrl-C, `kill`, `timeout`, a closed SSH
// session, a reader of its output that went away), the operation is cancelled instead of the
// process dying, so the unit is still locked again. Outside a unit operation the same signals end
// the process as they always did, but never with the terminal's echo left off. On Windows the
// console's Ctrl-C, Ctrl-Break and close events take the place of the signals.
#pragma once

#include <atomic>

#include "comms/unit_session.h"

namespace qelto::cli {

// How a run was stopped, numbered as POSIX numbers its signals, so that the exit status is
// 128 + it on every system.
inline constexpr int kStopHangUp = 1;      // SIGHUP; on Windows the console window was closed
inline constexpr int kStopInterrupt = 2;   // SIGINT, Ctrl-C
inline constexpr int kStopPipe = 13;       // SIGPIPE
inline constexpr int kStopTerminate = 15;  // SIGTERM; on Windows Ctrl-Break

// Takes over SIGINT, SIGTERM, SIGHUP and SIGPIPE for the whole run. A signal the shell told us to
// ignore (a background job's Ctrl-C, nohup's hang-up) stays ignored. With SIGPIPE handled, a
// write to a closed pipe fails with EPIPE instead of killing the process.
void installStopHandlers();

// The signal that stopped a unit operation of this run, or 0. Its exit status is 128 + it.
int stopSignal();

// The name of a stop other than Ctrl-C and a closed output, for "stopped by ...": "SIGTERM",
// "SIGHUP"; on Windows "Ctrl-Break" and "closing the console window".
const char* stopName(int stop);

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

// While it lives, a stop is only noted, not acted on: the pump run stops its pump first and then
// locks the unit as usual. A stop the shell told us to ignore stays ignored.
class StopNotes {
  public:
    StopNotes();
    ~StopNotes();
    StopNotes(const StopNotes&) = delete;
    StopNotes& operator=(const StopNotes&) = delete;

    // The stop noted while this lives, or 0.
    int noted() const { return lastNoted(); }
    // The stop noted by the last StopNotes, or 0.
    static int lastNoted();
};

}  // namespace qelto::cli
