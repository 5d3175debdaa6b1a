#include "platform/profile_line.h"

#include "platform/text_helpers.h"

namespace qelto::platform::profile {
namespace {

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

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
    const std::string_view text = trimmedStart(line);
    if (text.empty() || text.front() == ';') {
        return result;
    }
    if (text.front() == '[') {
        // The last ']' closes the name, so a name may itself hold a ']'.
        const std::size_t close = text.rfind(']');
        if (close != std::string_view::npos) {
            result.kind = LineKind::section;
            result.name = trimmed(text.substr(1, close - 1));
        }
        return result;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return result;
    }
    const std::string_view key = trimmed(text.substr(0, equals));
    if (key.empty()) {
        return result;
    }
    const std::string_view rest = text.substr(equals + 1);
    const std::string_view afterBlanks = trimmedStart(rest);
    result.kind = LineKind::key;
    result.name = key;
    result.value = trimmed(afterBlanks);
    result.valueOffset = line.size() - afterBlanks.size();
    return result;
}

}  // namespace qelto::platform::profile
