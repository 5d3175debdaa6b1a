// The exported workbook as a spreadsheet shows it: it opens on the Summary, whose figures are
// values (dates and times as real ones) for the pumps the unit has and for every shift.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "model/prog_data.h"
#include "page_tags.h"
#include "platform/user_paths.h"
#include "reports/report_pages.h"
#include "reports/report_tag_parser.h"
#include "reports/xlsx_archive.h"
#include "reports/xlsx_export.h"
#include "reports/xlsx_summary.h"
#include "support/test_env.h"

namespace qelto::reports {
namespace {

namespace fs = std::filesystem;

struct Cell {
    std::string value;  // <v>, or the inline string's text
    std::string type;
    std::string style;
};
using Cells = std::map<std::string, Cell>;

Cells cellsOf(const std::string& part) {
    pugi::xml_document sheet;
    EXPECT_TRUE(sheet.load_string(part.c_str()));
    Cells cells;
    for (const auto row : sheet.child("worksheet").child("sheetData").children("row")) {
        for (const auto c : row.children("c")) {
            EXPECT_TRUE(!c.child("f") || c.child("v")) << "a formula without its result";
            const char* value = c.child("v") ? c.child_value("v") : c.child("is").child_value("t");
            cells[c.attribute("r").value()] = {value, c.attribute("t").value(),
                                               c.attribute("s").value()};
        }
    }
    return cells;
}

// The row of the first cell in column A holding the text.
std::string rowOf(const Cells& cells, const std::string& text) {
    for (const auto& [ref, cell] : cells) {
        if (ref[0] == 'A' && cell.value == text) {
            return ref.substr(1);
        }
    }
    return "none";
}

double dayFraction(const Cells& cells, const std::string& ref) {
    return cells.count(ref) != 0 ? std::stod(cells.at(ref).value) : -1;
}

// Six pumps, split into two shifts: pump 1 calibrated (a volume), pump 2 not (a run time).
std::string sixPumpUsagePage() {
    model::CProgData unit;
    unit.ResetAll(model::NoPumpNameDefaults{});
    model::setText(unit.SerialNoUnit, "123456789");
    ReportData data;
    test::fillTwoPumpUsage(data.programs[kTotalsRow]);
    UsageTables tables;
    tables.shift2.cycle[kTotalsRow][0] = 2;
    tables.shift2.low[kTotalsRow][0] = 200;
    tables.shift2.cycle[kTotalsRow][1] = 3;
    tables.shift2.middle[kTotalsRow][1] = 2;
    ReportOptions options;
    options.shiftChoice = kTwoShifts;
    options.shifts = {{{6 * 3600, 13 * 3600 + 59 * 60}, {14 * 3600, 22 * 3600}, {}}};
    return renderLaundryUsage({data, tables, options, unit, 6},
                              {test::bracketText, false, {2026, 12, 7, 9, 5, 3}});
}

TEST(WorkbookSummary, AUsageExportWithShiftsOpensOnASummaryOfValues) {
    const fs::path target = qelto::test::testDir() / "usage.xlsx";
    const CReportTagParser tags(sixPumpUsagePage(), "EXCEL", "CELL", "CONTENT");
    const ExportResult result =
        exportWorkbook(platform::dataDir() / "QeltoReport.xlsx", target, "Report", tags.cells());
    ASSERT_TRUE(result.ok) << result.reason;
    ASSERT_TRUE(result.skippedCells.empty());
    std::string error;
    auto book = XlsxArchive::open(target, error);
    ASSERT_TRUE(book) << error;
    const auto part = [&](const char* name) { return book->read(name, error).value_or(""); };

    EXPECT_NE(part("xl/workbook.xml").find("<workbookView activeTab=\"1\"/>"), std::string::npos);
    const std::string summaryPart = part("xl/worksheets/sheet2.xml");
    EXPECT_NE(summaryPart.find("<sheetView tabSelected=\"1\""), std::string::npos);
    EXPECT_NE(summaryPart.find("fitToWidth=\"1\" fitToHeight=\"1\""), std::string::npos);
    // The template's styles give the summary's dates, times and run times their formats.
    for (const char* format :
         {"<xf numFmtId=\"14\"", "<xf numFmtId=\"21\"", "<xf numFmtId=\"46\""}) {
        const std::string styles = part("xl/styles.xml");
        EXPECT_NE(styles.find(format), std::string::npos) << format;
    }
    const Cells report = cellsOf(part("xl/worksheets/sheet1.xml"));
    const Cells summary = cellsOf(summaryPart);

    // The serial number is text on both sheets.
    EXPECT_EQ(report.at("A10").type, "inlineStr");
    const std::string serial = rowOf(summary, "Serial number");
    EXPECT_EQ(summary.at("B" + serial).type, "inlineStr");
    EXPECT_EQ(summary.at("B" + serial).value, "123456789");
    // 7 December 2026 is day 46363; 09:05:03 is 32703 seconds into it.
    const std::string date = rowOf(summary, "Date");
    EXPECT_EQ(summary.at("B" + date).value, "46363");
    EXPECT_EQ(summary.at("B" + date).type, "");
    EXPECT_EQ(summary.at("B" + date).style, std::to_string(kStyleDate));
    const std::string time = rowOf(summary, "Time");
    EXPECT_NEAR(dayFraction(summary, "B" + time) * 86400, 32703, 1e-6);
    EXPECT_EQ(summary.at("B" + time).style, std::to_string(kStyleTime));

    // The pumps the unit has, no more; shift 2's all-programs figures come from columns Y.
    const int header = std::stoi(rowOf(summary, "Pump"));
    const auto at = [&](const char* column, int row) {
        const auto found = summary.find(column + std::to_string(row));
        return found == summary.end() ? std::string("-") : found->second.value;
    };
    for (int pump = 1; pump <= 7; ++pump) {
        EXPECT_EQ(at("A", header + pump), pump <= 6 ? std::to_string(pump) : "-") << pump;
    }
    EXPECT_EQ(at("E", header - 1), "Shift 1 (06:00-13:59)");
    EXPECT_EQ(at("H", header - 1), "Shift 2 (14:00-22:00)");
    EXPECT_EQ(report.at("Y4").value, "2");
    EXPECT_EQ(report.at("Y10").value, "3");
    // Pump 1: 1000 ml/min, calibrated 3 May 2026 (day 46145); 7 cycles and 50001 ml in shift 1,
    // 2 and 200 ml in shift 2, no run times.
    const int one = header + 1;
    EXPECT_EQ(at("C", one) + " " + at("D", one) + " " + at("E", one) + " " + at("F", one) + " " +
                  at("G", one) + " " + at("H", one) + " " + at("I", one) + " " + at("J", one),
              "1000 46145 7 50001 - 2 200 -");
    EXPECT_EQ(summary.at("D" + std::to_string(one)).style, std::to_string(kStyleDate));
    // Pump 2 ran 59:59 in 4 cycles, then 2:00 in 3; no volumes.
    const int two = header + 2;
    EXPECT_EQ(at("E", two) + " " + at("F", two) + " " + at("H", two) + " " + at("I", two),
              "4 - 3 -");
    EXPECT_NEAR(dayFraction(summary, "G" + std::to_string(two)) * 86400, 3599, 1e-6);
    EXPECT_NEAR(dayFraction(summary, "J" + std::to_string(two)) * 86400, 120, 1e-6);
    EXPECT_EQ(summary.at("J" + std::to_string(two)).style, std::to_string(kStyleDuration));
}

// Pages saved before the date, pump count and shift cells existed, and the other reports.
TEST(WorkbookSummary, PagesWithoutTheNewerCellsStillMakeASummary) {
    const std::string note =
        "Usage over all programs, run times in hours:minutes:seconds. Volumes in ml and flow "
        "rates in ml/min, or fl oz with US units. Every value is also on the Data sheet.";
    struct Case {
        const char* what;
        std::map<std::string, std::string> data;
        std::string expected;  // "ref=value" of the cells, in order
    };
    const std::vector<Case> cases{
        {"an older usage page: date as text, pumps up to the last with figures",
         {{"A1", "12\\07\\2026"},
          {"A2", "25:00"},
          {"A3", "0"},
          {"X1", "1"},
          {"X2", "90"},
          {"X3", "5"},
          {"X4", "5"},
          {"B18", "100"},
          {"X10", "1"},
          {"X11", "250"}},
         "A1=Qelto report A3=Date B3=12/07/2026 A4=Time B4=25:00 A5=Report B5=Usage E7=All "
         "programs A8=Pump B8=Speed (%) C8=Flow rate D8=Calibrated E8=Cycles F8=Volume G8=Run "
         "time A9=1 E9=5 G9=0.10422453703703703 A10=2 C10=100 E10=1 F10=250 A12=" +
             note},
        {"a dishwasher's settings: its serial number, no pump table",
         {{"A3", "1"}, {"C50", "0042"}, {"A11", "2026-13-01"}},
         "A1=Qelto report A3=Report B3=Settings A4=Serial number B4=0042 A6=" + note},
    };
    for (const Case& c : cases) {
        std::string cells;
        for (const SheetCell& cell : summaryCells(c.data, "Data")) {
            cells += (cells.empty() ? "" : " ") + cellName(cell.ref) + "=" + cell.content;
        }
        EXPECT_EQ(cells, c.expected) << c.what;
    }
}

}  // namespace
}  // namespace qelto::reports
