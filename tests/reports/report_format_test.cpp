#include "reports/report_format.h"

#include <gtest/gtest.h>

#include "reports/cell_tag.h"
#include "reports/page_escape.h"

namespace qelto::reports {
namespace {

TEST(ReportFormat, VolumesChangeUnitOnlyPastEachThreshold) {
    EXPECT_EQ(formatVolume(0, false), "0 ml");
    EXPECT_EQ(formatVolume(1000, false), "1000 ml");
    EXPECT_EQ(formatVolume(1001, false), "1,001 ml");
    EXPECT_EQ(formatVolume(50000, false), "50,000 ml");
    EXPECT_EQ(formatVolume(50001, false), "50.001 litres");
    EXPECT_EQ(formatVolume(50070, false), "50.070 litres");
    EXPECT_EQ(formatVolume(1000000, false), "1000.000 litres");
    EXPECT_EQ(formatVolume(1000001, false), "1,000 litres");
    EXPECT_EQ(formatVolume(2045678, false), "2,045 litres");
}

TEST(ReportFormat, UsVolumesAreOuncesUpToAGallonThenGallonsInTheFieldWidth) {
    EXPECT_EQ(formatVolume(50, true), "  0.50 fl oz");
    EXPECT_EQ(formatVolume(12800, true), "128.00 fl oz");
    EXPECT_EQ(formatVolume(12801, true), " 1.000 gallons");
    EXPECT_EQ(formatVolume(128000, true), "10.000 gallons");
}

TEST(ReportFormat, RunTimesShowMinutesUntilThereIsAnHour) {
    EXPECT_EQ(formatRunTime(0, 59, 59, "min", "h"), "59:59 min");
    EXPECT_EQ(formatRunTime(1, 0, 0, "min", "h"), "01:00 h");
    // A log search's parts can pass 59; the page carries them: 61 min 75 s is 1 h 2 min 15 s.
    EXPECT_EQ(formatRunTime(0, 61, 75, "min", "h"), "01:02 h");
    EXPECT_EQ(formatRunTime(0, 41, 168, "min", "h"), "43:48 min");
    EXPECT_EQ(formatEstimate(3599, "min", "h"), "59:59 min");
    EXPECT_EQ(formatEstimate(3600, "min", "h"), "1:00 h");
    EXPECT_EQ(formatEstimate(3661 + 3540, "min", "h"), "2:00 h");
}

// The rest of the escaping is checked on the report pages themselves (report_pages_test.cpp).
TEST(PageEscape, LatinOneBecomesUtf8AndACommentCellLosesQuotesAndMarkup) {
    EXPECT_EQ(pageText("M\xfcller & Co"), "M\xc3\xbcller &amp; Co");
    EXPECT_EQ(prepareCommentForCell("\"x\" & <y>"), " x  + (y)");
}

// Each tag is an empty element, closed at once, so the page's own elements stay side by side.
TEST(CellTag, EveryFormQuotesItsValuesAndClosesAtOnce) {
    EXPECT_EQ(cellTag("B80", 12u), "<EXCEL CELL=\"B80\" CONTENT=\"12\"></EXCEL>");
    EXPECT_EQ(cellTag("B80", "<b>\"&"),
              "<EXCEL CELL=\"B80\" CONTENT=\"&lt;b&gt;&quot;&amp;\"></EXCEL>");
    EXPECT_EQ(cellTagDecimal("B14", 12.5), "<EXCEL CELL=\"B14\" CONTENT=\"12.50\"></EXCEL>");
    EXPECT_EQ(cellTagDecimalWide("D5", 1.5), "<EXCEL CELL=\"D5\" CONTENT=\"  1.50\"></EXCEL>");
}

}  // namespace
}  // namespace qelto::reports
