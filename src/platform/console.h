// The terminal (a console window on Windows) that qeltoctl talks to.
#pragma once

#include <cstdio>

namespace qelto::platform {

bool isTerminal(std::FILE* stream);

// Turns the echo of standard input off for its lifetime, so a typed secret (a PIN, the batch
// password) does not show, and restores it even when reading throws.
class EchoOff {
  public:
    EchoOff();
    ~EchoOff();
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

  private:
    bool active_ = false;
};

// Gives the terminal its echo back when an EchoOff is active, for a stop handler about to end the
// process: the engineer's terminal is never left mute. Safe in a POSIX signal handler.
void restoreEchoNow();

}  // namespace qelto::platform
