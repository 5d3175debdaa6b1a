#include "platform/text_helpers.h"

#include <algorithm>

namespace qelto::platform {

std::string_view trimmedStart(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

std::string_view trimmed(std::string_view text) {
    text = trimmedStart(text);
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), isDigit);
}

std::optional<int> digitsAt(std::string_view text, std::size_t at, std::size_t count) {
    if (count > 9 || at > text.size() || count > text.size() - at) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text.substr(at, count)) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace qelto::platform
