// The program names its texts by number, and a number the English catalog lacks shows as "#123"
// in every language. This test reads the sources and collects the numbers in the few shapes the
// code names them in: a text or str call with a literal (or a choice of two), the settings rows
// and switches of the report pages, the confirmations of the language table, and the named
// constants of messages, status lines and texts.
// A number named in any other way goes unchecked rather than failing for a look-alike.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "platform/language_catalog.h"
#include "support/test_env.h"

namespace qelto::platform {
namespace {

namespace fs = std::filesystem;

// Where in the sources a number was found, for the failure message.
using NumberUses = std::map<int, std::string>;

// Comments mention numbers in prose ("message string 252"); only code counts. (A regex would do
// this too, but the standard library's recursion overflows the stack on a long comment.)
std::string withoutComments(const std::string& source) {
    std::string code;
    code.reserve(source.size());
    for (std::size_t at = 0; at < source.size();) {
        if (source.compare(at, 2, "//") == 0) {
            at = source.find('\n', at);
            at = at == std::string::npos ? source.size() : at;
        } else if (source.compare(at, 2, "/*") == 0) {
            const auto close = source.find("*/", at + 2);
            at = close == std::string::npos ? source.size() : close + 2;
            code += ' ';
        } else {
            code += source[at++];
        }
    }
    return code;
}

void collect(const std::string& code, const std::regex& pattern, const std::string& where,
             NumberUses& uses) {
    for (std::sregex_iterator it(code.begin(), code.end(), pattern), end; it != end; ++it) {
        for (std::size_t group = 1; group < it->size(); ++group) {
            if ((*it)[group].matched) {
                uses.try_emplace(std::stoi((*it)[group].str()), where);
            }
        }
    }
}

NumberUses numbersUsedIn(const fs::path& sourceRoot) {
    // Text numbers run from 100 to 9999; a group only captures such a literal.
    static const std::regex calls(
        R"(\b(?:text|str|text_)\(\s*(?:[\w.>-]+\s*\?\s*([1-9][0-9]{2,3})\s*:\s*)?([1-9][0-9]{2,3})\s*\))");
    static const std::regex reportRows(
        R"(\bsettingsRow\(\s*\w+\s*,\s*([1-9][0-9]{2,3})\s*,|\bonOff\([^()]*,\s*([1-9][0-9]{2,3})\s*,\s*([1-9][0-9]{2,3})\s*\))");
    static const std::regex constant(R"(\bconstexpr\s+int\s+(k\w+)\s*=\s*([1-9][0-9]{2,3})\s*;)");
    static const std::regex textName(R"(^k(Msg|Message|Status|Text|Ask)[A-Z0-9]\w*$)");
    static const std::regex measureName(
        R"((Width|Height|Size|Length|Limit|Max|Min|Ms|Seconds|Timeout|Bytes)$)");

    static const std::regex languageTable(
        R"(\{\s*[0-9]+\s*,\s*"[^"]*"\s*,\s*"[^"]*\.po"\s*,\s*([1-9][0-9]{2,3})\s*\})");
    static const std::regex textConstantUse(
        R"(\btext::(k\w+)|\b(?:text|str|text_)\(\s*(?:\w+::)*(k\w+)\s*\))");

    NumberUses uses;
    std::multimap<std::string, std::pair<int, std::string>> otherConstants;
    std::set<std::string> namesHandedToTexts;
    for (const auto& item : fs::recursive_directory_iterator(sourceRoot)) {
        const auto extension = item.path().extension();
        if (!item.is_regular_file() || (extension != ".cpp" && extension != ".h")) {
            continue;
        }
        const std::string code = withoutComments(test::readFile(item.path()));
        const std::string where = fs::relative(item.path(), sourceRoot).string();
        collect(code, calls, where, uses);
        collect(code, reportRows, where, uses);
        collect(code, languageTable, where, uses);
        for (std::sregex_iterator it(code.begin(), code.end(), constant), end; it != end; ++it) {
            const std::string name = (*it)[1].str();
            const int number = std::stoi((*it)[2].str());
            if (std::regex_match(name, textName) && !std::regex_search(name, measureName)) {
                uses.try_emplace(number, where + " " + name);
            } else {
                otherConstants.emplace(name, std::make_pair(number, where + " " + name));
            }
        }
        for (std::sregex_iterator it(code.begin(), code.end(), textConstantUse), end; it != end;
             ++it) {
            namesHandedToTexts.insert((*it)[(*it)[1].matched ? 1 : 2].str());
        }
    }
    // A constant of another name counts when the code hands it to a text call or keeps it in a
    // namespace of texts.
    for (const auto& [name, found] : otherConstants) {
        if (namesHandedToTexts.contains(name)) {
            uses.try_emplace(found.first, found.second);
        }
    }
    return uses;
}

TEST(StringNumberScan, EveryNumberTheProgramUsesIsInTheEnglishCatalog) {
    const auto english = LanguageCatalog::load(fs::path(QELTO_CATALOG_DIR) / "LangEN.po");
    ASSERT_TRUE(english);
    const NumberUses uses = numbersUsedIn(fs::path(QELTO_SOURCE_TREE) / "src");
    // The report pages alone name well over a hundred; far fewer means the scan lost its way.
    ASSERT_GT(uses.size(), 100u);
    for (const auto& [number, where] : uses) {
        EXPECT_TRUE(english->find(number)) << where << " uses " << number;
    }
}

}  // namespace
}  // namespace qelto::platform
