// Profile text from anywhere (a hand-edited qelto.ini, a settings file written by another tool):
// parsing, lookups and writes must hold up, and a written text must read back as it was set.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/profile_file.h"

namespace {

using qelto::platform::ProfileText;

// Splits the input into small pieces (section, key, value ...) taken from its first bytes, so the
// names the fuzzer finds are also the ones it writes.
class Pieces {
  public:
    explicit Pieces(std::string_view data) : data_(data) {}

    std::string_view next() {
        if (data_.empty()) {
            return {};
        }
        const std::size_t length = static_cast<unsigned char>(data_.front()) % 16;
        data_.remove_prefix(1);
        const std::string_view piece = data_.substr(0, length);
        data_.remove_prefix(piece.size());
        return piece;
    }

    std::string_view rest() const { return data_; }

  private:
    std::string_view data_;
};

bool isPlainName(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    for (const char c : name) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!plain) {
            return false;
        }
    }
    return true;
}

bool mixedLineEnds(std::string_view text) {
    const std::size_t first = text.find('\n');
    if (first == std::string_view::npos || first == 0 || text[first - 1] != '\r') {
        return false;
    }
    for (std::size_t i = first; i < text.size(); ++i) {
        if (text[i] == '\n' && text[i - 1] != '\r') {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input =
        size == 0 ? std::string_view{}
                  : std::string_view(reinterpret_cast<const char*>(data), size);
    Pieces pieces(input);
    std::vector<std::pair<std::string, std::string>> names;
    std::vector<std::string> values;
    for (int i = 0; i < 4; ++i) {
        const std::string_view section = pieces.next();
        const std::string_view key = pieces.next();
        names.emplace_back(section, key);
        values.emplace_back(pieces.next());
    }

    ProfileText text(pieces.rest());
    // Parsing alone gives back the bytes it was given, unless a CRLF file has bare LF lines,
    // which come back as CRLF.
    if (!mixedLineEnds(pieces.rest()) && text.text() != pieces.rest()) {
        std::abort();
    }
    for (const auto& [section, key] : names) {
        (void)text.find(section, key);
        (void)text.keys(section);
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i == 2) {
            text.remove(names[0].first, names[0].second);
        }
        text.set(names[i].first, names[i].second, values[i]);
        // A plain key set in a plain section is found right away.
        if (isPlainName(names[i].first) && isPlainName(names[i].second) &&
            !text.find(names[i].first, names[i].second)) {
            std::abort();
        }
    }

    const ProfileText reread(text.text());
    for (const auto& [section, key] : names) {
        if (text.find(section, key) != reread.find(section, key) ||
            text.keys(section) != reread.keys(section)) {
            std::abort();
        }
    }
    // A written text reads back to itself unless its lines end in both ways (the first line of an
    // LF file may end in a stray '\r', which the next reader takes for a CRLF file).
    if (!mixedLineEnds(text.text()) && reread.text() != text.text()) {
        std::abort();
    }
    return 0;
}
