#include "platform/po_reader.h"

#include <optional>

#include "platform/text_encoding.h"
#include "platform/text_helpers.h"

namespace qelto::platform::po {
namespace {

// Decodes one "..." literal that makes up the whole of text; nullopt when it is not one.
std::optional<std::string> decodeLiteral(std::string_view text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') {
        return std::nullopt;
    }
    std::string out;
    const std::size_t end = text.size() - 1;
    for (std::size_t i = 1; i < end; ++i) {
        const char c = text[i];
        if (c == '"') {
            return std::nullopt;  // a quote inside must be escaped
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == end) {
            return std::nullopt;  // the backslash escaped the closing quote
        }
        const char e = text[i];
        switch (e) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'a':
                out += '\a';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'v':
                out += '\v';
                break;
            case '"':
            case '\\':
            case '\'':
            case '?':
                out += e;
                break;
            case 'x': {
                int value = 0;
                int digits = 0;
                while (digits < 2 && i + 1 < end && hexDigitValue(text[i + 1]) >= 0) {
                    value = value * 16 + hexDigitValue(text[++i]);
                    ++digits;
                }
                if (digits == 0) {
                    return std::nullopt;
                }
                out += static_cast<char>(value);
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    int value = e - '0';
                    for (int digits = 1;
                         digits < 3 && i + 1 < end && text[i + 1] >= '0' && text[i + 1] <= '7';
                         ++digits) {
                        value = value * 8 + (text[++i] - '0');
                    }
                    out += static_cast<char>(value & 0xff);
                } else {
                    return std::nullopt;
                }
        }
    }
    return out;
}

enum class Field { none, context, id, idPlural, translation, otherPlural };

class Reader {
  public:
    explicit Reader(const std::function<void(const Entry&)>& onEntry) : onEntry_(onEntry) {}

    void line(std::string_view text) {
        text = trimmed(text);
        if (text.empty()) {
            finish();
            return;
        }
        if (text.front() == '#') {
            comment(text);
            return;
        }
        if (text.front() == '"') {
            append(text);
            return;
        }
        keyword(text);
    }

    void finish() {
        if (!broken_ && hasId_ && hasTranslation_) {
            onEntry_(entry_);
        }
        entry_ = Entry{};
        field_ = Field::none;
        hasId_ = hasTranslation_ = broken_ = false;
    }

  private:
    bool started() const { return entry_.hasContext || hasId_ || hasTranslation_ || broken_; }

    // Comments come before their entry, so one after an entry's lines begins the next entry.
    void comment(std::string_view text) {
        if (started()) {
            finish();
        }
        if (text.starts_with("#,")) {
            std::string_view flags = text.substr(2);
            while (!flags.empty()) {
                const std::size_t comma = flags.find(',');
                if (trimmed(flags.substr(0, comma)) == "fuzzy") {
                    entry_.fuzzy = true;
                }
                flags =
                    comma == std::string_view::npos ? std::string_view{} : flags.substr(comma + 1);
            }
        }
    }

    void append(std::string_view text) {
        const auto piece = decodeLiteral(text);
        if (!piece) {
            broken_ = true;
            return;
        }
        switch (field_) {
            case Field::context:
                entry_.context += *piece;
                break;
            case Field::id:
                entry_.id += *piece;
                break;
            case Field::translation:
                entry_.translation += *piece;
                break;
            case Field::idPlural:
            case Field::otherPlural:
                break;
            case Field::none:
                broken_ = true;
                break;
        }
    }

    void keyword(std::string_view text) {
        const std::size_t wordEnd = text.find_first_of(" \t\"");
        const std::string_view word = text.substr(0, wordEnd);
        const std::string_view rest =
            wordEnd == std::string_view::npos ? std::string_view{} : trimmed(text.substr(wordEnd));
        if (word == "msgctxt") {
            if (started()) {
                finish();
            }
            entry_.hasContext = true;
            field_ = Field::context;
        } else if (word == "msgid") {
            if (hasId_ || hasTranslation_) {
                finish();
            }
            hasId_ = true;
            field_ = Field::id;
        } else if (word == "msgid_plural" && hasId_) {
            field_ = Field::idPlural;
        } else if ((word == "msgstr" || word == "msgstr[0]") && hasId_ && !hasTranslation_) {
            hasTranslation_ = true;
            field_ = Field::translation;
        } else if (word.starts_with("msgstr[") && hasTranslation_) {
            field_ = Field::otherPlural;
        } else {
            broken_ = true;
            field_ = Field::none;
            return;
        }
        append(rest);
    }

    const std::function<void(const Entry&)>& onEntry_;
    Entry entry_;
    Field field_ = Field::none;
    bool hasId_ = false;
    bool hasTranslation_ = false;
    bool broken_ = false;
};

}  // namespace

void readEntries(std::string_view text, const std::function<void(const Entry&)>& onEntry) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    Reader reader(onEntry);
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        reader.line(text.substr(0, newline));
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
    }
    reader.finish();
}

}  // namespace qelto::platform::po
