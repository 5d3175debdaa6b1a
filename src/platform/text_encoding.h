// Records keep their texts as 8-bit Latin-1 bytes, as units and older files do; the terminal,
// JSON and the GUI speak UTF-8. These are the only conversions between the two.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qelto::platform {

// Every byte as the Unicode character of the same number.
std::string latin1ToUtf8(std::string_view latin1);

// The Latin-1 bytes of valid UTF-8 text; characters above U+00FF become '?'. nullopt when the
// text is not valid UTF-8 (it is then most likely Latin-1 already).
std::optional<std::string> utf8ToLatin1(std::string_view utf8);

// The value of a hexadecimal digit in either case, or -1 for any other character.
int hexDigitValue(char c);

// Text typed by a person or read from a hand-edited file: UTF-8 when it is valid UTF-8,
// otherwise taken as Latin-1 bytes as they stand.
std::string externalToLatin1(std::string_view text);

}  // namespace qelto::platform
