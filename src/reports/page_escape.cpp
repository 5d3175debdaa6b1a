#include "reports/page_escape.h"

#include "platform/text_encoding.h"

namespace qelto::reports {

namespace {

// Replaces every CR LF of text by replacement.
std::string replaceLineEnds(std::string_view text, std::string_view replacement) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += replacement;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::string escapeHtml(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string pageText(std::string_view latin1) {
    return escapeHtml(platform::latin1ToUtf8(latin1));
}

std::string prepareCommentForCell(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
            case '"':
                out += ' ';
                break;
            case '&':
                out += '+';
                break;
            case '<':
                out += '(';
                break;
            case '>':
                out += ')';
                break;
            case ';':
                out += ':';
                break;
            default:
                out += c;
        }
    }
    return replaceLineEnds(out, ";  ");
}

std::string commentForPage(std::string_view utf8) {
    return replaceLineEnds(escapeHtml(utf8), "<BR>");
}

}  // namespace qelto::reports
