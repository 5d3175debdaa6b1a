// How one line of a profile file reads: a section header, a key=value pair, or anything else
// (blank lines, ";" comments, stray text), which readers skip and writers keep.
#pragma once

#include <cstddef>
#include <string_view>

namespace qelto::platform::profile {

enum class LineKind { other, section, key };

struct Line {
    LineKind kind = LineKind::other;
    std::string_view name;        // section name or key, trimmed
    std::string_view value;       // key lines: the value, trimmed, quotes kept
    std::size_t valueOffset = 0;  // key lines: where the value starts in the line
};

Line classify(std::string_view line);

// Windows compares section and key names without regard to ASCII letter case; other bytes
// (Latin-1 or UTF-8 names) must match exactly.
bool sameName(std::string_view a, std::string_view b);

// One pair of enclosing double quotes comes off, as the Windows reader takes it off.
std::string_view unquote(std::string_view value);

}  // namespace qelto::platform::profile
