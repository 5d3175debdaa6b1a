#include "comms/bluetooth_modules.h"

#include "platform/text_helpers.h"

namespace qelto::comms {

namespace {

constexpr std::size_t kNameLength = kUnitModulePrefix.size() + 2;
// From p, the end of the name, back to the first strength digit.
constexpr std::size_t kStrengthBack = 19;

int digit(char c) {
    return static_cast<unsigned char>(c) - '0';
}

}  // namespace

char strengthLetter(int value) {
    if (value < 72) {
        return 'H';
    }
    return value <= 86 ? 'M' : 'L';
}

std::vector<std::string> parseModuleList(std::span<const std::uint8_t> received) {
    const std::string_view text(reinterpret_cast<const char*>(received.data()), received.size());
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at = text.find(kUnitModulePrefix); at != std::string_view::npos;
         at = text.find(kUnitModulePrefix, from)) {
        const std::size_t p = at + kNameLength;
        if (p > text.size()) {
            break;  // the reply ended inside the name
        }
        from = p;
        // A name this close to the start has no strength field before it: the reply began in
        // the middle of an entry (or the name is part of something else). Guessing a strength
        // from bytes that were never received would show a letter with no meaning, so the name
        // is not listed.
        if (p < kStrengthBack) {
            continue;
        }
        const std::string_view digits = text.substr(p - kStrengthBack, 3);
        int value = 10 * digit(digits[1]) + digit(digits[2]);
        // The dongle writes three digits and the line shows all three, so -100 dBm and below
        // must count their hundreds; read from the last two alone they would look strong.
        if (platform::isDigit(digits[0])) {
            value += 100 * digit(digits[0]);
        }
        std::string line(text.substr(at, kNameLength));
        line += "  (";
        line += strengthLetter(value);
        line += " -";
        line += digits;
        line += ')';
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace qelto::comms
