#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile_file.h"
#include "platform/profile_line.h"
#include "platform/text_helpers.h"

namespace qelto::platform {
namespace {

using profile::LineKind;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Notepad starts UTF-8 files with a byte-order mark; the first header must still be found.
std::string_view content(const std::vector<std::string>& lines, std::size_t index) {
    std::string_view line = lines[index];
    if (index == 0 && line.starts_with(kUtf8Bom)) {
        line.remove_prefix(kUtf8Bom.size());
    }
    return line;
}

// A line break inside a name or value would split its line in two on the next read.
std::string_view oneLine(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

// Where a section sits: its header line and the end of its lines (the next header or the end).
struct SectionSpan {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionSpan> findSection(const std::vector<std::string>& lines,
                                       std::string_view section) {
    section = trimmed(section);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto line = profile::classify(content(lines, i));
        if (line.kind != LineKind::section || !profile::sameName(line.name, section)) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < lines.size() &&
               profile::classify(content(lines, end)).kind != LineKind::section) {
            ++end;
        }
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

}  // namespace

ProfileText::ProfileText(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t newline = text.find('\n', pos);
        if (newline == std::string_view::npos) {
            lines_.emplace_back(text.substr(pos));
            finalNewline_ = false;
            break;
        }
        std::string_view line = text.substr(pos, newline - pos);
        if (lines_.empty()) {
            crlf_ = line.ends_with('\r');
        }
        // Only a CRLF file loses the '\r': in an LF file a stray one is part of the line.
        if (crlf_ && line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines_.emplace_back(line);
        pos = newline + 1;
    }
}

std::optional<std::string> ProfileText::find(std::string_view section, std::string_view key) const {
    const auto span = findSection(lines_, section);
    if (!span) {
        return std::nullopt;
    }
    key = trimmed(key);
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        const auto line = profile::classify(content(lines_, i));
        if (line.kind == LineKind::key && profile::sameName(line.name, key)) {
            return std::string(profile::unquote(line.value));
        }
    }
    return std::nullopt;
}

void ProfileText::set(std::string_view section, std::string_view key, std::string_view value) {
    section = trimmed(oneLine(section));
    key = trimmed(oneLine(key));
    value = oneLine(value);
    if (key.empty()) {
        return;
    }
    const auto span = findSection(lines_, section);
    if (!span) {
        if (!lines_.empty() && !trimmed(lines_.back()).empty()) {
            lines_.emplace_back();
        }
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::string(key) + "=" + std::string(value));
        finalNewline_ = true;
        return;
    }
    std::size_t insertAt = span->header + 1;
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        // A key line never comes first (its header does), so it never carries the mark.
        const auto line = profile::classify(lines_[i]);
        if (line.kind != LineKind::key) {
            continue;
        }
        if (profile::sameName(line.name, key)) {
            // The key keeps its spelling and the blanks around "="; only the value changes.
            lines_[i].resize(line.valueOffset);
            lines_[i].append(value);
            return;
        }
        insertAt = i + 1;
    }
    if (insertAt == lines_.size()) {
        finalNewline_ = true;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  std::string(key) + "=" + std::string(value));
}

void ProfileText::remove(std::string_view section, std::string_view key) {
    const auto span = findSection(lines_, section);
    if (!span) {
        return;
    }
    key = trimmed(key);
    std::size_t end = span->end;
    for (std::size_t i = span->header + 1; i < end;) {
        const auto line = profile::classify(content(lines_, i));
        if (line.kind == LineKind::key && profile::sameName(line.name, key)) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
            --end;
        } else {
            ++i;
        }
    }
}

std::vector<std::string> ProfileText::keys(std::string_view section) const {
    std::vector<std::string> names;
    const auto span = findSection(lines_, section);
    if (!span) {
        return names;
    }
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        const auto line = profile::classify(content(lines_, i));
        if (line.kind != LineKind::key) {
            continue;
        }
        bool seen = false;
        for (const auto& name : names) {
            seen = seen || profile::sameName(name, line.name);
        }
        if (!seen) {
            names.emplace_back(line.name);
        }
    }
    return names;
}

std::string ProfileText::text() const {
    const std::string_view eol = crlf_ ? "\r\n" : "\n";
    std::size_t size = 0;
    for (const auto& line : lines_) {
        size += line.size() + eol.size();
    }
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i];
        if (i + 1 < lines_.size() || finalNewline_) {
            out += eol;
        }
    }
    return out;
}

}  // namespace qelto::platform
