#include "cli/legacy_terminal.h"

#include <fmt/format.h>

#include <utility>

#include "model/unit_types.h"

namespace qelto::cli {
namespace {

// English words for the legacy messages while the catalogs do not carry them yet; a catalog
// text, when there is one, always wins.
std::optional<std::string> fallbackText(int id) {
    switch (id) {
        case legacy::kTextWrongPassword:
            return "The unit refused the password.";
        case legacy::kTextReadNoAnswer:
            return "The unit (%s) did not answer the command.";
        case legacy::kTextReadFailed:
            return "The unit could not be read: %s";
        case legacy::kTextConfirmSend:
            return "Send this command to the unit?";
        case legacy::kTextReadDone:
            return "The unit has been read into the document.";
        case legacy::kTextWriteFailed:
            return "The unit could not be written: %s";
        case legacy::kTextWriteDone:
            return "The document has been written to the unit.";
        case 184:
            return "an older unit without type information";
        case 186:
            return "no unit signed on";
        default:
            return std::nullopt;
    }
}

}  // namespace

LegacyTerminal::LegacyTerminal(std::int16_t password, CatalogFind find, std::FILE* out)
    : password_(password), find_(std::move(find)), out_(out) {}

std::string LegacyTerminal::text(int id) const {
    if (auto found = find_ ? find_(id) : std::nullopt) {
        return *found;
    }
    return fallbackText(id).value_or("#" + std::to_string(id));
}

std::string LegacyTerminal::unitName(const legacy::UnitNameText& unit) const {
    if (unit.textId != 0) {
        if (auto found = find_ ? find_(unit.textId) : std::nullopt) {
            return *found;
        }
        if (auto fallback = fallbackText(unit.textId)) {
            return *fallback;
        }
    }
    return model::unitModelName(unit.typeCode);
}

bool LegacyTerminal::askYesNo(int textId) {
    // Running the command was the engineer's yes.
    std::fputs(fmt::format("{} yes\n", text(textId)).c_str(), out_);
    return true;
}

void LegacyTerminal::message(int textId, legacy::LegacyIcon icon,
                             std::optional<legacy::UnitNameText> unit) {
    std::string line = text(textId);
    if (unit) {
        const std::string name = unitName(*unit);
        const auto at = line.find("%s");
        line = at == std::string::npos ? line + " (" + name + ")" : line.replace(at, 2, name);
    }
    if (icon == legacy::LegacyIcon::Warning) {
        line = "qeltoctl: warning: " + line;
    } else if (icon == legacy::LegacyIcon::Error) {
        line = "qeltoctl: error: " + line;
    }
    if (icon == legacy::LegacyIcon::Information && holdSuccess_) {
        held_.push_back(std::move(line));
        return;
    }
    std::fputs((line + "\n").c_str(), out_);
    std::fflush(out_);
}

void LegacyTerminal::releaseHeldMessages() {
    for (const std::string& line : held_) {
        std::fputs((line + "\n").c_str(), out_);
    }
    held_.clear();
    std::fflush(out_);
}

}  // namespace qelto::cli
