#include "reports/report_tag_parser.h"

#include <gtest/gtest.h>

namespace qelto::reports {
namespace {

using Cells = CReportTagParser::CellMap;

Cells collect(std::string_view page) {
    return CReportTagParser(page, "excel", "cell", "content").cells();
}

TEST(ReportTagParser, ALaterTagForACellReplacesTheEarlierOne) {
    EXPECT_EQ(collect("<EXCEL CELL=A1 CONTENT=1><p>x</p><EXCEL CELL=A1 CONTENT=2>"),
              (Cells{{"A1", "2"}}));
}

TEST(ReportTagParser, QuotedValuesKeepBlanksAndPlainOnesEndAtTheFirstBlank) {
    EXPECT_EQ(
        collect("<EXCEL CELL=\"B80\" CONTENT=\"Hot wash 60\">"
                "<EXCEL CELL=A5 CONTENT=Hotel Miramar>"
                "<EXCEL CELL=A6 CONTENT=Spa>"
                "<EXCEL CELL=A7 CONTENT=\"open quote>"),
        (Cells{{"B80", "Hot wash 60"}, {"A5", "Hotel"}, {"A6", "Spa"}, {"A7", "open quote"}}));
}

TEST(ReportTagParser, ATagMissingAnAttributeIsSkipped) {
    EXPECT_EQ(collect("<EXCEL CELL=A1><EXCEL CONTENT=2><EXCEL CELL=A3 CONTENT=3>"),
              (Cells{{"A3", "3"}}));
}

TEST(ReportTagParser, ATagWithoutItsClosingBracketEndsTheCollection) {
    EXPECT_EQ(collect("<EXCEL CELL=A1 CONTENT=1><EXCEL CELL=A2 CONTENT=2"), (Cells{{"A1", "1"}}));
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

TEST(ReportTagParser, TheEntitiesThePageWritesAreDecodedOnce) {
    EXPECT_EQ(collect("<EXCEL CELL=A5 CONTENT=\"Smith &amp; Sons &quot;Ltd&quot; &lt;1&gt;\">"
                      "<EXCEL CELL=A6 CONTENT=\"&amp;lt; &nbsp; &\">"),
              (Cells{{"A5", "Smith & Sons \"Ltd\" <1>"}, {"A6", "&lt; &nbsp; &"}}));
}

TEST(ReportTagParser, NamesAreCapitalisedButThePageIsMatchedAsItStands) {
    EXPECT_EQ(
        collect("<excel CELL=A1 CONTENT=1><EXCEL cell=A2 CONTENT=2><EXCEL CELL=A3 CONTENT=3>"),
        (Cells{{"A3", "3"}}));
}

TEST(ReportTagParser, AnAttributeNameInsideAValueIsNotTheAttribute) {
    EXPECT_EQ(collect("<EXCEL CONTENT=\"see CELL=Z9\" CELL=A1>"), (Cells{{"A1", "see CELL=Z9"}}));
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
