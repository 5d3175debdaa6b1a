#include "platform/profile_line.h"

namespace qelto::platform::profile {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view trimLeft(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

}  // namespace

std::string_view trim(std::string_view text) {
    text = trimLeft(text);
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

Line classify(std::string_view line) {
    Line result;
    const std::string_view text = trimLeft(line);
    if (text.empty() || text.front() == ';') {
        return result;
    }
    if (text.front() == '[') {
        // The last ']' closes the name, so a name may itself hold a ']'.
        const std::size_t close = text.rfind(']');
        if (close != std::string_view::npos) {
            result.kind = LineKind::section;
            result.name = trim(text.substr(1, close - 1));
        }
        return result;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return result;
    }
    const std::string_view key = trim(text.substr(0, equals));
    if (key.empty()) {
        return result;
    }
    const std::string_view rest = text.substr(equals + 1);
    const std::string_view afterBlanks = trimLeft(rest);
    result.kind = LineKind::key;
    result.name = key;
    result.value = trim(afterBlanks);
    result.valueOffset = line.size() - afterBlanks.size();
    return result;
}

}  // namespace qelto::platform::profile
