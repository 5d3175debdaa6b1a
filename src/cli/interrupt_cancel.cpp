#include "cli/interrupt_cancel.h"

#include <signal.h>
#include <unistd.h>

#include <cstring>

namespace qelto::cli {
namespace {

std::atomic<std::atomic<bool>*> gAbort{nullptr};
std::atomic<platform::ByteLink*> gPort{nullptr};
std::atomic<bool> gInterrupted{false};
struct sigaction gPrevious {};

constexpr char kNotice[] =
    "\nqeltoctl: cancelling; the unit is being locked again (Ctrl-C again quits at once)\n";

void onInterrupt(int) {
    gInterrupted.store(true);
    if (std::atomic<bool>* abort = gAbort.load()) {
        abort->store(true);
    }
    // The port's cancel only writes to an eventfd, which is safe here; it ends the wait for a
    // reply at once instead of after its time-out.
    if (platform::ByteLink* port = gPort.load()) {
        port->cancel();
    }
    const ssize_t ignored = ::write(STDERR_FILENO, kNotice, sizeof kNotice - 1);
    (void)ignored;
}

}  // namespace

InterruptCancels::InterruptCancels(std::atomic<bool>& abort, platform::ByteLink* port) {
    gInterrupted.store(false);
    gAbort.store(&abort);
    gPort.store(port);
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // The first Ctrl-C asks politely; the handler then reverts, so a second one kills.
    action.sa_flags = static_cast<int>(SA_RESETHAND);
    ::sigaction(SIGINT, &action, &gPrevious);
    // A job the shell started in the background ignores Ctrl-C, and so do we.
    if (gPrevious.sa_handler == SIG_IGN) {
        ::sigaction(SIGINT, &gPrevious, nullptr);
    }
}

InterruptCancels::~InterruptCancels() {
    ::sigaction(SIGINT, &gPrevious, nullptr);
    gPort.store(nullptr);
    gAbort.store(nullptr);
}

bool InterruptCancels::interrupted() const {
    return gInterrupted.load();
}

}  // namespace qelto::cli
