#include "reports/report_tag_parser.h"

#include <gtest/gtest.h>

namespace qelto::reports {
namespace {

using Cells = CReportTagParser::CellMap;

Cells collect(std::string_view page) {
    return CReportTagParser(page, "excel", "cell", "content").cells();
}

TEST(ReportTagParser, CollectsEveryWholeTagTheWayThePageWritesIt) {
    const std::pair<const char*, Cells> rows[] = {
        // A later tag for a cell replaces the earlier one.
        {"<EXCEL CELL=A1 CONTENT=1><p>x</p><EXCEL CELL=A1 CONTENT=2>", {{"A1", "2"}}},
        // Quoted values keep their blanks; plain ones end at the first blank.
        {"<EXCEL CELL=\"B80\" CONTENT=\"Hot wash 60\"><EXCEL CELL=A5 CONTENT=Hotel Miramar>"
         "<EXCEL CELL=A6 CONTENT=Spa><EXCEL CELL=A7 CONTENT=\"open quote>",
         {{"B80", "Hot wash 60"}, {"A5", "Hotel"}, {"A6", "Spa"}, {"A7", "open quote"}}},
        // A tag missing an attribute is skipped; one without its closing bracket ends the page.
        {"<EXCEL CELL=A1><EXCEL CONTENT=2><EXCEL CELL=A3 CONTENT=3>", {{"A3", "3"}}},
        {"<EXCEL CELL=A1 CONTENT=1><EXCEL CELL=A2 CONTENT=2", {{"A1", "1"}}},
        // The entities the page writes are decoded once.
        {"<EXCEL CELL=A5 CONTENT=\"Smith &amp; Sons &quot;Ltd&quot; &lt;1&gt;\">"
         "<EXCEL CELL=A6 CONTENT=\"&amp;lt; &nbsp; &\">",
         {{"A5", "Smith & Sons \"Ltd\" <1>"}, {"A6", "&lt; &nbsp; &"}}},
        // Names are capitalised, but the page is matched as it stands.
        {"<excel CELL=A1 CONTENT=1><EXCEL cell=A2 CONTENT=2><EXCEL CELL=A3 CONTENT=3>",
         {{"A3", "3"}}},
        // An attribute name inside a value is not the attribute.
        {"<EXCEL CONTENT=\"see CELL=Z9\" CELL=A1>", {{"A1", "see CELL=Z9"}}},
    };
    for (const auto& [page, cells] : rows) {
        EXPECT_EQ(collect(page), cells) << page;
    }
}

TEST(ReportTagParser, AHugePageOfBrokenTagsEndsAtOnce) {
    std::string page;
    for (int i = 0; i < 100000; ++i) {
        page += "<EXCEL CELL=\"A1 CONTENT=";
    }
    EXPECT_TRUE(collect(page).empty());
    // Closed, it is one long tag: CELL's quote closes at the next CELL's, and CONTENT follows.
    EXPECT_EQ(collect(page + ">"), (Cells{{"A1 CONTENT=<EXCEL CELL=", "<EXCEL"}}));
}

TEST(ReportTagParser, IteratesInTheOrderOfTheCellNames) {
    CReportTagParser parser(
        "<EXCEL CELL=B2 CONTENT=b><EXCEL CELL=A2 CONTENT=a2>"
        "<EXCEL CELL=A10 CONTENT=a10>",
        "EXCEL", "CELL", "CONTENT");
    std::string order;
    for (const auto* cell = parser.first(); cell != nullptr; cell = parser.next()) {
        order += cell->first + "=" + cell->second + ";";
    }
    EXPECT_EQ(order, "A10=a10;A2=a2;B2=b;");
    EXPECT_EQ(parser.next(), nullptr);
    EXPECT_EQ(CReportTagParser("", "EXCEL", "CELL", "CONTENT").first(), nullptr);
}

}  // namespace
}  // namespace qelto::reports
