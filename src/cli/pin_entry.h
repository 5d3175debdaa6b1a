// The unit's PIN, from the command line or typed at the terminal.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qelto::cli {

// A PIN as the engineer types it: decimal digits, 0..65535.
std::optional<std::uint16_t> parsePin(std::string_view text);

enum class PinEntry {
    Entered,
    NoTerminal,  // standard input is not a terminal: nobody could answer
    Invalid,     // what was typed is not a PIN, or the input ended
};

// The PIN on the first line of a file (--pin-file), so that it never shows in the process list.
// nullopt, with error saying what is wrong, when the file cannot be read or holds no PIN.
std::optional<std::uint16_t> readPinFile(const std::string& path, std::string& error);

// Asks for the PIN on the terminal of standard input, without echoing it.
PinEntry askPinAtTerminal(std::uint16_t& pin);

}  // namespace qelto::cli
