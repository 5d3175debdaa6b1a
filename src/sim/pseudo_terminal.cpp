#include "sim/pseudo_terminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace qelto::sim {

PseudoTerminal PseudoTerminal::create(std::string& error) {
    PseudoTerminal pty;
    pty.master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (pty.master_ < 0 || ::grantpt(pty.master_) != 0 || ::unlockpt(pty.master_) != 0) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        return pty;
    }
    const char* name = ::ptsname(pty.master_);
    if (name == nullptr) {
        error = std::string("ptsname: ") + std::strerror(errno);
        return pty;
    }
    pty.clientPath_ = name;
    pty.heldClient_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (pty.heldClient_ < 0) {
        error = "cannot open " + pty.clientPath_ + ": " + std::strerror(errno);
        return pty;
    }
    // Raw from the start: a client that forgets to set raw mode must still see every byte as
    // sent, with no echo and no CR/LF translation mangling a check word.
    termios tio{};
    if (::tcgetattr(pty.heldClient_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(pty.heldClient_, TCSANOW, &tio);
    }
    const int flags = ::fcntl(pty.master_, F_GETFL);
    ::fcntl(pty.master_, F_SETFL, flags | O_NONBLOCK);
    return pty;
}

PseudoTerminal::PseudoTerminal(PseudoTerminal&& other) noexcept
    : master_(other.master_),
      heldClient_(other.heldClient_),
      clientPath_(std::move(other.clientPath_)) {
    other.master_ = -1;
    other.heldClient_ = -1;
}

PseudoTerminal::~PseudoTerminal() {
    if (heldClient_ >= 0) {
        ::close(heldClient_);
    }
    if (master_ >= 0) {
        ::close(master_);
    }
}

}  // namespace qelto::sim
