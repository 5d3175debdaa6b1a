// The entries of gettext PO text, as far as Qelto's catalogs use them: msgctxt, msgid and msgstr
// (msgstr[0] of a plural entry), strings continued over several lines, C escapes, comments and
// the fuzzy flag. Obsolete entries ("#~") read as comments.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qelto::platform::po {

struct Entry {
    std::string context;
    std::string id;
    std::string translation;
    bool hasContext = false;
    bool fuzzy = false;
};

// Calls onEntry for every well-formed entry that has msgid and msgstr, in text order; malformed
// entries are skipped. Linear in the size of the text whatever it holds.
void readEntries(std::string_view text, const std::function<void(const Entry&)>& onEntry);

}  // namespace qelto::platform::po
