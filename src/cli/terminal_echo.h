// Typing a secret (a PIN, the batch password) at the terminal without it showing.
#pragma once

#include <termios.h>
#include <unistd.h>

namespace qelto::cli {

// Tells the stop handlers which terminal settings to give back should a signal end the process
// while the echo is off (nullptr: nothing to give back).
void noteEchoOff(const termios* saved);

// Turns the echo of standard input off for its lifetime and restores it even when reading
// throws or a signal ends the process, so the engineer's terminal is never left mute.
class EchoOff {
  public:
    EchoOff() {
        if (::tcgetattr(STDIN_FILENO, &saved_) == 0) {
            termios quiet = saved_;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            noteEchoOff(&saved_);
            active_ = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
            if (!active_) {
                noteEchoOff(nullptr);
            }
        }
    }
    ~EchoOff() {
        if (active_) {
            noteEchoOff(nullptr);
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
        }
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

  private:
    termios saved_{};
    bool active_ = false;
};

}  // namespace qelto::cli
