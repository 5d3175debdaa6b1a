#include "cli/interrupt_cancel.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "cli/stop_state.h"
#include "platform/console.h"

namespace qelto::cli {
namespace {

static_assert(SIGHUP == kStopHangUp && SIGINT == kStopInterrupt && SIGPIPE == kStopPipe &&
              SIGTERM == kStopTerminate);
constexpr std::array<int, 4> kStopSignals{SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// What each signal did before we took it over: SIG_DFL or SIG_IGN (exec resets handlers).
std::array<std::atomic<bool>, 4> gInheritedIgnore{};

void say(const char* text) {
    const ssize_t ignored = ::write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
}

std::size_t indexOf(int signal) {
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        if (kStopSignals[i] == signal) {
            return i;
        }
    }
    return 0;
}

// Ends the process by the signal itself, as if we had never caught it, after giving the
// terminal its echo back (a PIN prompt may be showing).
void dieBy(int signal) {
    platform::restoreEchoNow();
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    sigset_t unblock;
    sigemptyset(&unblock);
    sigaddset(&unblock, signal);
    ::sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
    ::raise(signal);
}

const char* noticeFor(int signal) {
    switch (signal) {
        case SIGINT:
            return "\nqeltoctl: cancelling; the unit is being locked again (Ctrl-C again quits at "
                   "once)\n";
        case SIGTERM:
            return "\nqeltoctl: stopped (SIGTERM): cancelling; the unit is being locked again\n";
        case SIGHUP:
            return "\nqeltoctl: the terminal hung up (SIGHUP): cancelling; the unit is being "
                   "locked again\n";
        default:
            return "\nqeltoctl: the output was closed (SIGPIPE): cancelling; the unit is being "
                   "locked again\n";
    }
}

void onStopSignal(int signal) {
    const int savedErrno = errno;
    comms::UnitSession* session = gSession.load();
    if (session == nullptr) {
        // No unit is unlocked: the signal does what it always did.
        if (!gInheritedIgnore[indexOf(signal)].load()) {
            dieBy(signal);
        }
        errno = savedErrno;
        return;
    }
    int none = 0;
    if (gStopSignal.compare_exchange_strong(none, signal)) {
        // Only atomics and the port's cancel, which writes to an eventfd: safe here. The wait for
        // a reply ends at once instead of after its time-out.
        session->requestStop();
        say(noticeFor(signal));
    } else if (signal == SIGINT && none == SIGINT) {
        // The engineer pressed Ctrl-C twice: they mean it. A repeated hang-up or SIGTERM comes
        // from machinery (a shell passing on a hang-up), and must not cut the lock short.
        dieBy(signal);
    }
    errno = savedErrno;
}

}  // namespace

void installStopHandlers() {
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        struct sigaction previous {};
        ::sigaction(kStopSignals[i], nullptr, &previous);
        const bool ignored = previous.sa_handler == SIG_IGN;
        gInheritedIgnore[i].store(ignored);
        // A write to a closed pipe must fail with EPIPE, never kill us mid-operation, so SIGPIPE
        // is caught even when it was ignored; the others stay ignored when the shell said so.
        if (ignored && kStopSignals[i] != SIGPIPE) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = onStopSignal;
        // Whatever the signal interrupts (a file being saved) goes on as if it had not come.
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        for (const int other : kStopSignals) {
            sigaddset(&action.sa_mask, other);
        }
        ::sigaction(kStopSignals[i], &action, nullptr);
    }
}

const char* stopName(int stop) {
    return stop == SIGHUP ? "SIGHUP" : "SIGTERM";
}

namespace {

std::atomic<int> gNotedStop{0};
std::array<struct sigaction, kStopSignals.size()> gBeforeNotes{};

void noteStop(int signal) {
    int none = 0;
    gNotedStop.compare_exchange_strong(none, signal);
}

}  // namespace

StopNotes::StopNotes() {
    gNotedStop.store(0);
    struct sigaction action {};
    action.sa_handler = noteStop;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        ::sigaction(kStopSignals[i], &action, &gBeforeNotes[i]);
        if (gBeforeNotes[i].sa_handler == SIG_IGN) {
            ::sigaction(kStopSignals[i], &gBeforeNotes[i], nullptr);
        }
    }
}

StopNotes::~StopNotes() {
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        ::sigaction(kStopSignals[i], &gBeforeNotes[i], nullptr);
    }
}

int StopNotes::lastNoted() {
    return gNotedStop.load();
}

}  // namespace qelto::cli
