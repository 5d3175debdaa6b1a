#include "platform/console.h"

#include <termios.h>
#include <unistd.h>

#include <atomic>

namespace qelto::platform {
namespace {

termios gSaved{};
// Set while the echo is off; read by restoreEchoNow from a signal handler.
std::atomic<bool> gEchoIsOff{false};

}  // namespace

bool isTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) != 0;
}

EchoOff::EchoOff() {
    if (::tcgetattr(STDIN_FILENO, &gSaved) != 0) {
        return;
    }
    termios quiet = gSaved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    gEchoIsOff.store(true);
    active_ = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    if (!active_) {
        gEchoIsOff.store(false);
    }
}

EchoOff::~EchoOff() {
    if (active_) {
        gEchoIsOff.store(false);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &gSaved);
    }
}

void restoreEchoNow() {
    if (gEchoIsOff.exchange(false)) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &gSaved);
        const ssize_t ignored = ::write(STDERR_FILENO, "\n", 1);
        (void)ignored;
    }
}

}  // namespace qelto::platform
