#include "platform/profile_file.h"

#include <limits>
#include <utility>

#include "platform/profile_io.h"
#include "platform/text_helpers.h"

namespace qelto::platform {
namespace {

// The C library's decimal conversion, without its locale and without undefined overflow: a value
// beyond the range of 64 bits stops at the nearest end of it (not long: 32 bits on Windows).
std::int64_t parseLeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        const int digit = text[i] - '0';
        if (negative) {
            value = value < (kMin + digit) / 10 ? kMin : value * 10 - digit;
        } else {
            value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
        }
    }
    return value;
}

}  // namespace

ProfileFile::ProfileFile(std::filesystem::path path) : path_(std::move(path)) {}

ProfileText ProfileFile::load() const {
    std::string bytes;
    if (!readProfileBytes(path_, bytes)) {
        return {};
    }
    return ProfileText(bytes);
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback, std::size_t bufferSize) const {
    std::string value = load().find(section, key).value_or(std::string(fallback));
    const std::size_t room = bufferSize == 0 ? 0 : bufferSize - 1;
    if (value.size() > room) {
        value.resize(room);
    }
    return value;
}

std::int64_t ProfileFile::readInt(std::string_view section, std::string_view key,
                                  std::int64_t fallback) const {
    const auto value = load().find(section, key);
    // "Key=" reads as missing: the Windows reader falls back when it copies no characters.
    if (!value || value->empty()) {
        return fallback;
    }
    return parseLeadingInt(*value);
}

bool ProfileFile::writeString(std::string_view section, std::string_view key,
                              std::string_view value, std::string* error) const {
    // A file that exists but cannot be read must not be replaced by one holding a single key.
    std::string bytes;
    if (!readProfileBytes(path_, bytes, error)) {
        return false;
    }
    ProfileText text(bytes);
    text.set(section, key, value);
    return store(text, error);
}

bool ProfileFile::store(const ProfileText& text, std::string* error) const {
    return writeProfileBytes(path_, text.text(), error);
}

}  // namespace qelto::platform
