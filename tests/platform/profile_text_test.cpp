#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "platform/profile_file.h"

namespace qelto::platform {
namespace {

const char* const kCatalogue =
    "; Chemical names for the chemical dialog\n"
    "[System Settings]\n"
    "NoOfChemicals=3\n"
    "\n"
    "[Chemical Names]\n"
    "Chemical01=Alkali\n"
    "Chemical02 = Bleach  \n"
    "Chemical03=\"  Sour  \"\n"
    "\n"
    "[L01]\n"
    "P01=D\xE9tergent\n";

// Whole names match without regard to case, eight-bit names byte for byte; blanks and one pair of
// quotes are trimmed; the first section and key of a name win; comments and stray lines are no
// keys; a byte order mark does not hide the first section.
TEST(ProfileTextLookup, FindsValuesAsTheWindowsProfileFunctionsDo) {
    const struct {
        const char* text;
        const char* section;
        const char* key;
        std::optional<std::string> value;
    } rows[] = {
        {kCatalogue, "system settings", "NOOFCHEMICALS", "3"},
        {kCatalogue, "l01", "p01", "D\xE9tergent"},
        {kCatalogue, "System", "NoOfChemicals", std::nullopt},
        {kCatalogue, "Chemical Names", "Chemical02", "Bleach"},
        {kCatalogue, "Chemical Names", "Chemical03", "  Sour  "},
        {"[A]\nk=1\nk=2\n[a]\nk=3\nj=4\n", "A", "K", "1"},
        {"[S]\n;k=1\nno equals sign\n=orphan\nb=2\nk=3\nB=4\n", "S", "k", "3"},
        {"[\xC3\x89T\xC3\x89]\nk=v\n", "\xC3\xA9t\xC3\xA9", "k", std::nullopt},
        {"\xEF\xBB\xBF[Settings]\r\nLanguage=3\r\n", "Settings", "Language", "3"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ProfileText(row.text).find(row.section, row.key), row.value)
            << row.section << " / " << row.key;
    }
    EXPECT_EQ(ProfileText("[S]\n;k=1\nno equals sign\n=orphan\nb=2\nk=3\nB=4\n").keys("s"),
              (std::vector<std::string>{"b", "k"}));
}

// A change keeps every other byte and the file's line ends; a missing key goes after the last key
// of its section, a missing section at the end after a blank line.
TEST(ProfileTextWrite, ChangesOnlyWhatItIsAskedTo) {
    std::string changed = kCatalogue;
    changed.replace(changed.find("Bleach  "), 8, "Chlorine");
    std::string added = kCatalogue;
    added.insert(added.find("\n[L01]"), "Chemical04=Rinse\n");
    const struct {
        std::string original;
        std::function<void(ProfileText&)> edit;
        std::string expected;
    } rows[] = {
        {kCatalogue, [](ProfileText& t) { t.set("chemical names", "chemical02", "Chlorine"); },
         changed},
        {kCatalogue, [](ProfileText& t) { t.set("Chemical Names", "Chemical04", "Rinse"); }, added},
        {"[S]\r\na=1\r\n",
         [](ProfileText& t) {
             t.set("S", "a", "2");
             t.set("S", "b", "3");
             t.set("T", "c", "4");
         },
         "[S]\r\na=2\r\nb=3\r\n\r\n[T]\r\nc=4\r\n"},
        // A line break in a value cannot split the line into a section of its own.
        {"", [](ProfileText& t) { t.set("S", "k", "first\r\n[Injected]\nx=1"); }, "[S]\nk=first\n"},
        // Every copy of the key goes, in that section only.
        {"[S]\nk=1\nj=2\nK=3\n[T]\nk=4\n",
         [](ProfileText& t) {
             t.remove("s", "k");
             t.remove("missing", "j");
         },
         "[S]\nj=2\n[T]\nk=4\n"},
    };
    for (const auto& row : rows) {
        ProfileText text(row.original);
        row.edit(text);
        EXPECT_EQ(text.text(), row.expected) << row.original;
    }
    for (const char* original : {"no newline", "[S]\nk=v\r\nj"}) {
        EXPECT_EQ(ProfileText(original).text(), original);
    }
}

}  // namespace
}  // namespace qelto::platform
