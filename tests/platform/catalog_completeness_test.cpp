// The shipped catalogs themselves: a language that lacks a number shows "#123" where a message
// should be, and a translation that drops a %-conversion or a tag breaks the message or the report
// page it is pasted into. These tests read the catalogs of the source tree, so a translator learns
// of a gap when the suite runs, not when an engineer meets it on site.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/language_catalog.h"
#include "platform/po_reader.h"
#include "support/test_env.h"

namespace qelto::platform {
namespace {

namespace fs = std::filesystem;

struct CatalogFile {
    std::map<int, po::Entry> entries;
    std::set<int> duplicates;
    std::size_t contextLines = 0;  // entries the file means to hold, well-formed or not
};

CatalogFile readCatalogFile(const fs::path& file) {
    const std::string text = test::readFile(file);
    CatalogFile catalog;
    po::readEntries(text, [&catalog](const po::Entry& entry) {
        if (!entry.hasContext) {
            return;
        }
        const int number = std::stoi(entry.context);
        if (!catalog.entries.try_emplace(number, entry).second) {
            catalog.duplicates.insert(number);
        }
    });
    for (std::size_t at = 0; (at = text.find("msgctxt \"", at)) != std::string::npos; ++at) {
        if (at == 0 || text[at - 1] == '\n') {
            ++catalog.contextLines;
        }
    }
    return catalog;
}

fs::path catalogPath(int languageValue) {
    return fs::path(QELTO_CATALOG_DIR) / findLanguage(languageValue)->fileName;
}

// The printf conversions of a text in order, "%%" included, as the formatting code sees them.
std::vector<std::string> conversions(const std::string& text) {
    static const std::regex conversion(
        R"(%(%|[-+ #0]*(\*|[0-9]+)?(\.(\*|[0-9]+))?(hh|h|ll|l|j|z|t|L)?[diouxXeEfFgGaAcspn]))");
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it) {
        found.push_back(it->str());
    }
    return found;
}

// The numbered arguments of a Qt text ("%1"), which a translation may reorder but must all keep.
std::multiset<std::string> numberedArguments(const std::string& text) {
    static const std::regex argument(R"(%[1-9][0-9]?(?![0-9]))");
    std::multiset<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), argument), end; it != end; ++it) {
        found.insert(it->str());
    }
    return found;
}

// A menu or button text marks its shortcut letter with one '&'; mark-up entities carry one each.
long ampersands(const std::string& text) {
    return std::count(text.begin(), text.end(), '&');
}

// The mark-up tags of a text in order. A page declares its own language, so the value of the
// html element's lang attribute is the one part of a tag a translation changes.
std::vector<std::string> tags(const std::string& text) {
    static const std::regex tag(R"(<[^<>]*>)");
    static const std::regex pageLanguage(R"(^<html lang="[A-Za-z-]+">$)");
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), tag), end; it != end; ++it) {
        found.push_back(std::regex_match(it->str(), pageLanguage) ? "<html lang>" : it->str());
    }
    return found;
}

// Blanks and line breaks at either end join a text to the number or text the program writes next.
std::pair<std::string, std::string> edgeBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {text, ""};
    }
    return {text.substr(0, first), text.substr(text.find_last_not_of(" \t\r\n") + 1)};
}

// Every language has a well-formed catalog: an entry the reader skipped as malformed would
// silently be missing in the program. Its translations keep the conversions, arguments, shortcut
// marks, tags and edge blanks of their English text.
TEST(ShippedCatalogs, EveryCatalogIsWellFormedAndKeepsArgumentsShortcutsTagsAndEdges) {
    for (int value = 1; value <= 10; ++value) {
        const fs::path file = catalogPath(value);
        ASSERT_TRUE(fs::is_regular_file(file)) << file;
        const CatalogFile catalog = readCatalogFile(file);
        EXPECT_EQ(catalog.entries.size(), catalog.contextLines) << file;
        EXPECT_TRUE(catalog.duplicates.empty()) << file << ": " << *catalog.duplicates.begin();
        EXPECT_EQ(LanguageCatalog::load(file)->size(), catalog.entries.size()) << file;
        const char* name = findLanguage(value)->name;
        for (const auto& [number, entry] : catalog.entries) {
            const std::string& t = entry.translation;
            EXPECT_EQ(conversions(t), conversions(entry.id)) << name << ' ' << number;
            EXPECT_EQ(numberedArguments(t), numberedArguments(entry.id)) << name << ' ' << number;
            EXPECT_EQ(ampersands(t), ampersands(entry.id)) << name << ' ' << number;
            EXPECT_EQ(tags(t), tags(entry.id)) << name << ' ' << number;
            EXPECT_EQ(edgeBlanks(t), edgeBlanks(entry.id)) << name << ' ' << number;
        }
    }
}

TEST(ShippedCatalogs, EveryCatalogTranslatesEveryEnglishNumber) {
    const CatalogFile english = readCatalogFile(catalogPath(1));
    ASSERT_GT(english.entries.size(), 100u);
    for (int value = 2; value <= 10; ++value) {
        const CatalogFile catalog = readCatalogFile(catalogPath(value));
        const char* name = findLanguage(value)->name;
        for (const auto& [number, source] : english.entries) {
            const auto found = catalog.entries.find(number);
            if (found == catalog.entries.end()) {
                ADD_FAILURE() << name << " lacks " << number << " \"" << source.id << '"';
                continue;
            }
            const po::Entry& entry = found->second;
            EXPECT_FALSE(entry.translation.empty()) << name << ' ' << number;
            EXPECT_FALSE(entry.fuzzy) << name << ' ' << number;
            // A changed English text leaves the old translation behind; its msgid tells.
            EXPECT_EQ(entry.id, source.id) << name << ' ' << number << " translates an old text";
        }
    }
}

// The template file and sheet, the page file and the chemical keys of qelto.ini are matched
// outside the program: a translated key would hide the engineer's chemical list after a change of
// language. American pages print flow rates in hundredths of a fluid ounce, all others in ml.
TEST(ShippedCatalogs, NamesMatchedOutsideTheProgramAndTheFlowUnitAreFixed) {
    const std::map<int, std::string> fixed{{155, "QeltoReport.xlsx"},
                                           {156, "Report"},
                                           {220, "QeltoReport.html"},
                                           {274, "Report"},
                                           {377, "Chemical"}};
    for (int value = 1; value <= 10; ++value) {
        const auto catalog = LanguageCatalog::load(catalogPath(value));
        ASSERT_TRUE(catalog);
        for (const auto& [number, text] : fixed) {
            EXPECT_EQ(catalog->text(number), text) << findLanguage(value)->name << ' ' << number;
        }
        EXPECT_EQ(catalog->text(239), value == 8 ? "fl oz/min" : "ml/min")
            << findLanguage(value)->name;
    }
}

}  // namespace
}  // namespace qelto::platform
