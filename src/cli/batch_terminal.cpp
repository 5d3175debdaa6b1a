#include "cli/batch_terminal.h"

#include <cstdio>
#include <iostream>

#include "cli/cli_context.h"
#include "platform/console.h"

namespace qelto::cli {

void TerminalBatchPrompts::warn(const std::string& text, comms::BatchField) {
    refused_ = true;
    printError(text);
}

void TerminalBatchPrompts::messageText(const std::string& text, comms::MessageIcon icon) {
    if (icon == comms::MessageIcon::Information) {
        printNote(text);
        return;
    }
    refused_ = true;
    printError(text);
}

bool TerminalBatchPrompts::askYesNo(const comms::Question& question) {
    return ask(question.caption.empty() ? question.text : question.caption + ": " + question.text,
               "[y/N]");
}

bool TerminalBatchPrompts::ask(const std::string& text, const char* choices) {
    if (assumeYes_) {
        std::fprintf(stderr, "qeltoctl: %s yes (--yes)\n", text.c_str());
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
    if (!platform::isTerminal(stdin)) {
        return std::nullopt;
    }
    std::fputs(prompt.c_str(), stderr);
    std::fflush(stderr);
    std::string line;
    bool read = false;
    if (echo) {
        read = static_cast<bool>(std::getline(std::cin, line));
    } else {
        const platform::EchoOff echoOff;
        read = static_cast<bool>(std::getline(std::cin, line));
        std::fputc('\n', stderr);
    }
    if (!read) {
        return std::nullopt;
    }
    return line;
}

}  // namespace qelto::cli
