#include "reports/report_tag_parser.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <utility>

namespace qelto::reports {
namespace {

std::string upperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The attribute's value in a tag text (from "<" and the tag name up to its ">"). The tag is read
// attribute by attribute, so a name inside another attribute's value ("CONTENT=\"CELL=Z9\"") is
// not taken for the attribute.
std::optional<std::string_view> attributeValue(std::string_view tag, std::size_t nameEnd,
                                               std::string_view name) {
    const std::size_t closing = tag.size() - 1;  // the tag's ">"
    std::size_t i = nameEnd;
    while (i < closing) {
        while (i < closing && isBlank(tag[i])) {
            ++i;
        }
        const std::size_t nameStart = i;
        while (i < closing && tag[i] != '=' && !isBlank(tag[i])) {
            ++i;
        }
        const std::string_view attribute = tag.substr(nameStart, i - nameStart);
        if (i >= closing || tag[i] != '=') {
            continue;  // an attribute without a value
        }
        std::size_t start = i + 1;
        std::size_t end = closing;
        if (start < closing && tag[start] == '"') {
            ++start;
            end = std::min(tag.find('"', start), closing);
        } else {
            end = start;
            while (end < closing && !isBlank(tag[end])) {
                ++end;
            }
        }
        if (attribute == name) {
            return tag.substr(start, end - start);
        }
        i = end + 1;
    }
    return std::nullopt;
}

}  // namespace

std::string decodeAttributeText(std::string_view text) {
    static constexpr std::array<std::pair<std::string_view, char>, 4> kEntities{{
        {"&amp;", '&'},
        {"&lt;", '<'},
        {"&gt;", '>'},
        {"&quot;", '"'},
    }};
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == '&') {
            for (const auto& [entity, character] : kEntities) {
                if (text.substr(i, entity.size()) == entity) {
                    decoded += character;
                    i += entity.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) {
            decoded += text[i++];
        }
    }
    return decoded;
}

CReportTagParser::CReportTagParser(std::string_view page, std::string_view tagName,
                                   std::string_view cellAttribute,
                                   std::string_view contentAttribute) {
    const std::string opening = "<" + upperCase(tagName);
    const std::string cellName = upperCase(cellAttribute);
    const std::string contentName = upperCase(contentAttribute);
    std::size_t from = page.find(opening);
    while (from != std::string_view::npos) {
        const std::size_t closing = page.find('>', from + opening.size());
        if (closing == std::string_view::npos) {
            break;
        }
        const std::string_view tag = page.substr(from, closing - from + 1);
        const auto cell = attributeValue(tag, opening.size(), cellName);
        const auto content = attributeValue(tag, opening.size(), contentName);
        if (cell && content) {
            cells_.insert_or_assign(std::string(*cell), decodeAttributeText(*content));
        }
        from = page.find(opening, closing + 1);
    }
    position_ = cells_.cend();
}

const CReportTagParser::Cell* CReportTagParser::first() {
    position_ = cells_.cbegin();
    return position_ == cells_.cend() ? nullptr : &*position_;
}

const CReportTagParser::Cell* CReportTagParser::next() {
    if (position_ == cells_.cend() || ++position_ == cells_.cend()) {
        return nullptr;
    }
    return &*position_;
}

}  // namespace qelto::reports
