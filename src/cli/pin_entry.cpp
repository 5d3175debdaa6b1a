#include "cli/pin_entry.h"

#include <termios.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <iostream>

namespace qelto::cli {
namespace {

// Restores the echo even when reading throws, so the engineer's terminal is never left mute.
class EchoOff {
  public:
    EchoOff() {
        if (::tcgetattr(STDIN_FILENO, &saved_) == 0) {
            termios quiet = saved_;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            active_ = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        }
    }
    ~EchoOff() {
        if (active_) {
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
        }
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

  private:
    termios saved_{};
    bool active_ = false;
};

}  // namespace

std::optional<std::uint16_t> parsePin(std::string_view text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || next != end || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

PinEntry askPinAtTerminal(std::uint16_t& pin) {
    if (::isatty(STDIN_FILENO) == 0) {
        return PinEntry::NoTerminal;
    }
    std::fputs("PIN of the unit: ", stderr);
    std::fflush(stderr);
    std::string line;
    {
        const EchoOff echoOff;
        std::getline(std::cin, line);
    }
    std::fputc('\n', stderr);
    const auto parsed = parsePin(line);
    if (!parsed) {
        return PinEntry::Invalid;
    }
    pin = *parsed;
    return PinEntry::Entered;
}

}  // namespace qelto::cli
