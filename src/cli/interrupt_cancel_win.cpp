// The console's stops on Windows. The system calls the handler on a thread of its own, so unlike
// a POSIX signal handler it may wait: after the console window is closed, Windows ends the
// process as soon as the handler returns, so the handler waits for the unit to be locked first.
#include <windows.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <thread>

#include "cli/interrupt_cancel.h"
#include "cli/stop_state.h"
#include "platform/console.h"

namespace qelto::cli {
namespace {

std::atomic<bool> gNoting{false};
std::atomic<int> gNotedStop{0};

int stopOf(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
            return kStopInterrupt;
        case CTRL_BREAK_EVENT:
            return kStopTerminate;
        default:  // the window closed, the user logs off, the system shuts down
            return kStopHangUp;
    }
}

const char* noticeFor(int stop) {
    switch (stop) {
        case kStopInterrupt:
            return "\nqeltoctl: cancelling; the unit is being locked again (Ctrl-C again quits at "
                   "once)\n";
        case kStopTerminate:
            return "\nqeltoctl: stopped (Ctrl-Break): cancelling; the unit is being locked again\n";
        default:
            return "\nqeltoctl: the console is closing: cancelling; the unit is being locked "
                   "again\n";
    }
}

// Windows gives a handler of the close event about five seconds before it ends the process.
void waitForTheLock(std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (gSession.load() != nullptr && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

BOOL WINAPI onConsoleStop(DWORD event) {
    const int stop = stopOf(event);
    if (gNoting.load()) {
        int none = 0;
        gNotedStop.compare_exchange_strong(none, stop);
        if (stop == kStopHangUp) {
            waitForTheLock(std::chrono::milliseconds(4500));
        }
        return TRUE;
    }
    comms::UnitSession* session = gSession.load();
    if (session == nullptr) {
        // No unit is unlocked: the stop does what it always does (the process ends).
        platform::restoreEchoNow();
        return FALSE;
    }
    int none = 0;
    if (gStopSignal.compare_exchange_strong(none, stop)) {
        session->requestStop();
        std::fputs(noticeFor(stop), stderr);
        std::fflush(stderr);
    } else if (stop == kStopInterrupt && none == kStopInterrupt) {
        // Ctrl-C twice: the engineer means it.
        platform::restoreEchoNow();
        return FALSE;
    }
    if (stop == kStopHangUp) {
        waitForTheLock(std::chrono::milliseconds(4500));
    }
    return TRUE;
}

}  // namespace

void installStopHandlers() {
    // A console started with Ctrl-C ignored (start /b) passes that on to us: it stays ignored,
    // as a background job's Ctrl-C does on Linux.
    ::SetConsoleCtrlHandler(onConsoleStop, TRUE);
}

const char* stopName(int stop) {
    return stop == kStopHangUp ? "closing the console window" : "Ctrl-Break";
}

StopNotes::StopNotes() {
    gNotedStop.store(0);
    gNoting.store(true);
}

StopNotes::~StopNotes() {
    gNoting.store(false);
}

int StopNotes::lastNoted() {
    return gNotedStop.load();
}

}  // namespace qelto::cli
