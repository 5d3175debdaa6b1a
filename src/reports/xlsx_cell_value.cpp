#include "reports/xlsx_cell_value.h"

#include "platform/text_encoding.h"
#include "platform/text_helpers.h"

namespace qelto::reports {
namespace {

constexpr std::uint32_t kMaxRow = 1048576;
constexpr std::uint32_t kMaxColumn = 16384;  // XFD
constexpr std::size_t kMaxDigits = 15;
constexpr std::size_t kMaxCellCharacters = 32767;  // UTF-16 units

// Length of the UTF-8 sequence starting at text[i] and its code point, or 0 when it is not
// valid UTF-8 (overlong forms and surrogates included).
std::size_t utf8Sequence(std::string_view text, std::size_t i, char32_t& point) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    if (lead < 0x80) {
        point = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        point = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        point = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        point = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        point = (point << 6) | (byte(i + k) & 0x3Fu);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < kSmallest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        return 0;
    }
    return length;
}

bool isValidUtf8(std::string_view text) {
    char32_t point = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8Sequence(text, i, point);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

bool allowedInXml(char32_t point) {
    if (point < 0x20) {
        return point == '\t' || point == '\n' || point == '\r';
    }
    return point != 0xFFFE && point != 0xFFFF;
}

}  // namespace

std::optional<CellRef> parseCellName(std::string_view name) {
    std::size_t i = 0;
    std::uint32_t column = 0;
    while (i < name.size() && i < 3 && name[i] >= 'A' && name[i] <= 'Z') {
        column = column * 26 + static_cast<std::uint32_t>(name[i] - 'A' + 1);
        ++i;
    }
    if (i == 0 || column > kMaxColumn || i == name.size() || name[i] == '0') {
        return std::nullopt;
    }
    std::uint32_t row = 0;
    for (; i < name.size(); ++i) {
        if (!platform::isDigit(name[i]) || row > kMaxRow) {
            return std::nullopt;
        }
        row = row * 10 + static_cast<std::uint32_t>(name[i] - '0');
    }
    if (row > kMaxRow) {
        return std::nullopt;
    }
    return CellRef{row, column};
}

std::string cellName(CellRef cell) {
    std::string letters;
    for (std::uint32_t column = cell.column; column > 0; column = (column - 1) / 26) {
        letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    }
    return letters + std::to_string(cell.row);
}

std::optional<std::string> numericCellText(std::string_view content) {
    const std::size_t start = content.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view number =
        content.substr(start, content.find_last_not_of(' ') - start + 1);
    std::size_t i = number.starts_with('-') ? 1 : 0;
    const std::size_t integerStart = i;
    while (i < number.size() && platform::isDigit(number[i])) {
        ++i;
    }
    const std::size_t integerDigits = i - integerStart;
    if (integerDigits == 0 || (integerDigits > 1 && number[integerStart] == '0')) {
        return std::nullopt;
    }
    std::size_t fractionDigits = 0;
    if (i < number.size() && number[i] == '.') {
        ++i;
        while (i < number.size() && platform::isDigit(number[i])) {
            ++i;
            ++fractionDigits;
        }
        if (fractionDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != number.size() || integerDigits + fractionDigits > kMaxDigits) {
        return std::nullopt;
    }
    return std::string(number);
}

std::string cellText(std::string_view content) {
    const std::string utf8 =
        isValidUtf8(content) ? std::string(content) : platform::latin1ToUtf8(content);
    std::string text;
    text.reserve(utf8.size());
    // The spreadsheet counts UTF-16 units: a character beyond the first plane counts twice.
    std::size_t units = 0;
    char32_t point = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = utf8Sequence(utf8, i, point);
        if (allowedInXml(point)) {
            units += point > 0xFFFF ? 2 : 1;
            if (units > kMaxCellCharacters) {
                break;
            }
            text.append(utf8, i, length);
        }
        i += length;
    }
    return text;
}

}  // namespace qelto::reports
