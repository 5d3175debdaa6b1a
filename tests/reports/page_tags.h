// Reads a page's cell tags the way a test wants them: every <EXCEL ...></EXCEL> must have the one
// form the export understands and be closed at once, so a tag the pattern does not match (one
// left open swallows the rest of the page in a browser) is reported as broken.
#pragma once

#include <initializer_list>
#include <map>
#include <regex>
#include <string>

#include "reports/report_data.h"

namespace qelto::reports::test {

// The usage of two pumps that the page tests draw: pump 1 calibrated (1000 ml/min since 3.5.26,
// 50001 ml in 7 doses), pump 2 not (59:59 in 4 runs).
inline void fillTwoPumpUsage(ProgramRecord& record) {
    UsageCell volume;
    volume.cycle = 7;
    volume.setTime(50001);
    record.setUsage(0, volume);
    record.setFlowRate(0, 1000);
    record.setCalibrationDate(0, {3, 5, 26});
    record.setUsage(1, UsageCell{4, 0, 59, 59});
}

struct PageTags {
    std::map<std::string, std::string> cells;  // cell name -> content as written (escaped)
    int broken = 0;                            // "<EXCEL" openings that are not a whole, closed tag
};

inline PageTags readTags(const std::string& page) {
    static const std::regex tag(R"re(<EXCEL CELL="([A-Z]+[0-9]+)" CONTENT="([^"<>]*)"></EXCEL>)re");
    PageTags result;
    int matched = 0;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), tag);
         it != std::sregex_iterator(); ++it) {
        result.cells[(*it)[1].str()] = (*it)[2].str();
        ++matched;
    }
    int openings = 0;
    for (std::size_t at = page.find("<EXCEL"); at != std::string::npos;
         at = page.find("<EXCEL", at + 1)) {
        ++openings;
    }
    result.broken = openings - matched;
    return result;
}

// "name=content" of the named cells, one blank between them, "name=-" where a page has none.
inline std::string cellList(const PageTags& tags, std::initializer_list<const char*> names) {
    std::string list;
    for (const char* name : names) {
        const auto found = tags.cells.find(name);
        list += (list.empty() ? "" : " ") + std::string(name) + "=" +
                (found == tags.cells.end() ? "-" : found->second);
    }
    return list;
}

// A catalog whose every text is its number in brackets, so a test sees which string went where.
inline std::string bracketText(int id) {
    return "[" + std::to_string(id) + "]";
}

}  // namespace qelto::reports::test
