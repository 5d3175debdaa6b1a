#include "cli/pin_entry.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

#include "platform/console.h"
#include "platform/text_helpers.h"

namespace qelto::cli {

std::optional<std::uint16_t> parsePin(std::string_view text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || next != end || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

std::optional<std::uint16_t> readPinFile(const std::string& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read the PIN file " + path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::string line;
    std::getline(in, line);
    const auto pin = parsePin(platform::trimmed(line));
    if (!pin) {
        error = "the first line of " + path + " is not a PIN: a number from 0 to 65535";
    }
    return pin;
}

PinEntry askPinAtTerminal(std::uint16_t& pin) {
    if (!platform::isTerminal(stdin)) {
        return PinEntry::NoTerminal;
    }
    std::fputs("PIN of the unit: ", stderr);
    std::fflush(stderr);
    std::string line;
    {
        const platform::EchoOff echoOff;
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
