// The few character and text tests every parser of the core needs, ASCII only whatever the
// locale: blanks, decimal digits, trimming and fixed-width numbers.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace qelto::platform {

// The blanks around a value in a text file or on a command line: space, tab, and the carriage
// return a Windows line ending leaves behind.
constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmedStart(std::string_view text);
// Without blanks at either end.
std::string_view trimmed(std::string_view text);

// True when every character is a decimal digit, and so for an empty text.
bool allDigits(std::string_view text);

// The value of exactly `count` decimal digits from `at` (at most nine, so it fits an int);
// nullopt when the text is shorter or one of them is not a digit: no blank, no sign.
std::optional<int> digitsAt(std::string_view text, std::size_t at, std::size_t count);

// Orders names as a person reads them, numbers by value: COM2 before COM10, ttyUSB9 before
// ttyUSB10.
bool naturalLess(std::string_view a, std::string_view b);

}  // namespace qelto::platform
