#include "cli/batch_terminal.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "cli/cli_context.h"

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

void TerminalBatchPrompts::warn(const std::string& text, comms::BatchField) {
    refused_ = true;
    printError(text);
}

void TerminalBatchPrompts::error(const std::string& text) {
    refused_ = true;
    printError(text);
}

bool TerminalBatchPrompts::askYesNo(const std::string& text, const std::string& caption) {
    return ask(caption.empty() ? text : caption + ": " + text, "[y/N]");
}

bool TerminalBatchPrompts::askOkCancel(const std::string& text) {
    return ask(text, "[y/N]");
}

bool TerminalBatchPrompts::ask(const std::string& text, const char* choices) {
    if (assumeYes_) {
        std::fprintf(stderr, "%s yes (--yes)\n", text.c_str());
        return true;
    }
    const auto answer = askLineAtTerminal(text + " " + choices + " ", true);
    if (!answer) {
        unanswered_ = true;
        return false;
    }
    return *answer == "y" || *answer == "Y" || *answer == "yes" || *answer == "Yes";
}

std::optional<std::string> askLineAtTerminal(const std::string& prompt, bool echo) {
    if (::isatty(STDIN_FILENO) == 0) {
        return std::nullopt;
    }
    std::fputs(prompt.c_str(), stderr);
    std::fflush(stderr);
    std::string line;
    bool read = false;
    if (echo) {
        read = static_cast<bool>(std::getline(std::cin, line));
    } else {
        const EchoOff echoOff;
        read = static_cast<bool>(std::getline(std::cin, line));
        std::fputc('\n', stderr);
    }
    if (!read) {
        return std::nullopt;
    }
    return line;
}

}  // namespace qelto::cli
