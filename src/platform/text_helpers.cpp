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

bool naturalLess(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::size_t startA = i;
            const std::size_t startB = j;
            while (i < a.size() && isDigit(a[i])) {
                ++i;
            }
            while (j < b.size() && isDigit(b[j])) {
                ++j;
            }
            auto numA = a.substr(startA, i - startA);
            auto numB = b.substr(startB, j - startB);
            numA.remove_prefix(std::min(numA.find_first_not_of('0'), numA.size()));
            numB.remove_prefix(std::min(numB.find_first_not_of('0'), numB.size()));
            if (numA.size() != numB.size()) {
                return numA.size() < numB.size();
            }
            if (numA != numB) {
                return numA < numB;
            }
            continue;
        }
        if (a[i] != b[j]) {
            return a[i] < b[j];
        }
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j || (a.size() - i == b.size() - j && a < b);
}

}  // namespace qelto::platform
