#include "reports/report_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "model/prog_data.h"
#include "page_tags.h"
#include "reports/report_kinds.h"

namespace qelto::reports {
namespace {

using test::bracketText;
using test::cellList;
using test::readTags;

PageContext bracketContext(bool us = false) {
    return {bracketText, us, {2026, 12, 7, 9, 5, 3}};
}

model::CProgData fourPumpConfig() {
    model::CProgData c;
    c.ResetAll(model::NoPumpNameDefaults{});  // unit type 3: four pumps, speeds 80
    c.pumpSpeed[1] = 65;
    c.pumpCalibration[2] = 1500;
    c.pumpSpeedRange[1] = 0;  // pump 2 on flush valve 1
    // Program 5, trigger 3, pump 3 (calibrated): 2 pulses, 1:05 delay, 250 ml.
    c.pumpEnabled[4][2][2] = 1;
    c.pulseCount[4][2] = 2;
    c.programs[4][2][2].delayTime = {1, 5, 0};
    c.programs[4][2][2].dose = 250;
    c.progName[0] = "<b>\"&";
    c.comments = "primed; ok\r\nnext <visit>";
    return c;
}

// Program 5 is column H; trigger 3, pump 3 start at row 60*2 + 6*2 + 1 = 133 (pulses, delay
// minutes and seconds, run minutes and seconds, dose); pump 4 of that trigger is not enabled.
// B100 on: flush valves (4 is none); a four-pump unit has no B104. A unit's own version (A7) only
// when read from it. Typed mark-up shows as text and leaves the tags whole. Programs without a
// step are left out.
TEST(LaundrySettingsPage, TagsAndStepRowsInMillilitresAndInUsUnitsWithTypedMarkupAsText) {
    model::CProgData c = fourPumpConfig();
    c.pumpEnabled[0][0][0] = 1;
    model::setText(c.customerName1, "<i>\"A&B\"</i>");
    const std::string ml = renderLaundrySettings(c, REP_FROM_MEMORY, bracketContext());
    const auto tags = readTags(ml);
    EXPECT_EQ(tags.broken, 0);
    EXPECT_EQ(cellList(tags, {"A1",   "A2",   "B1",   "B2",   "B3",   "B4",   "B12",
                              "H133", "H134", "H135", "H136", "H137", "H138", "H139",
                              "B100", "B101", "B104", "A7",   "A100", "A5"}),
              "A1=07\\12\\2026 A2=09:05:03 B1=L4 B2=4 B3=80 B4=65 B12=80 H133=2 H134=1 H135=5 "
              "H136=0 H137=45 H138=250 H139=- B100=4 B101=1 B104=- A7=- "
              "A100=primed: ok;  next (visit) A5=&lt;i&gt;&quot;A&amp;B&quot;&lt;/i&gt;");
    for (const char* text :
         {"<td> 3</td><td>2</td><td>3</td><td>1m:05s</td><td>250ml</td></tr>", " 3 = 1500ml/min",
          "1 (&lt;b&gt;&quot;&amp;) ", "next &lt;visit&gt;", "primed; ok<BR>next"}) {
        EXPECT_NE(ml.find(text), std::string::npos) << text;
    }
    EXPECT_EQ(ml.find("<b>\"&"), std::string::npos);
    EXPECT_EQ(ml.find("[2464]\n2 \n"), std::string::npos);
    EXPECT_EQ(ml.find("<i>"), std::string::npos);

    const std::string us = renderLaundrySettings(c, REP_FROM_USB_UNIT, bracketContext(true));
    EXPECT_NE(us.find("<td>1m:05s</td><td>  2.50fl oz</td></tr>"), std::string::npos);
    EXPECT_NE(us.find(" 3 =  15.00fl oz/min"), std::string::npos);
    const auto usTags = readTags(us);
    EXPECT_EQ(usTags.cells.at("H138"), "2.50");
    EXPECT_EQ(usTags.cells.at("A1"), "12\\07\\2026");
    EXPECT_EQ(usTags.cells.at("A7"), "V-.--");
}

struct LaundryUsagePage : ::testing::Test {
    // Two pumps: pump 1 calibrated (1000 ml/min, 50001 ml, 7 doses), pump 2 not (59:59 in 4).
    LaundryUsagePage() {
        unit.ResetAll(model::NoPumpNameDefaults{});
        unit.progName[0] = "<b>\"&";
        unit.pumpName[0] = "Alkali";
        data.totalCycles = 42;
        data.totalCyclesKnown = true;
        for (const std::size_t row : {std::size_t{0}, kTotalsRow}) {
            test::fillTwoPumpUsage(data.programs[row]);
        }
        data.programPresent[0] = 1;
        tables.shift2.cycle[kTotalsRow][1] = 3;
        tables.shift2.middle[kTotalsRow][1] = 2;
        tables.shift2.cycle[0][1] = 3;
        options.shifts = {{{6 * 3600, 13 * 3600 + 59 * 60}, {14 * 3600, 22 * 3600}, {}}};
    }
    std::string render(bool us = false) {
        return renderLaundryUsage({data, tables, options, unit, 2}, bracketContext(us));
    }

    model::CProgData unit;
    ReportData data;
    UsageTables tables;
    ReportOptions options;
};

TEST_F(LaundryUsagePage, CalibratedAndUncalibratedPumpsOnThePageAndInItsChart) {
    const std::string page = render();
    // The pump's name stands beside its number, in a span the next text closes.
    EXPECT_NE(page.find("[2489]\n01 </span><span class=\"name\">Alkali\n[2583]\n50.001 "
                        "litres\n[2488]\n00007\n[2491]"),
              std::string::npos);
    EXPECT_NE(page.find("[2489]\n02 </span><span class=\"name\">\n[2490]\n59:59 "
                        "[230]\n[2488]\n00004\n[2491]"),
              std::string::npos);
    // Each block (heading, tables, chart) stays together on a printed page.
    const auto count = [&page](std::string_view what) {
        std::size_t n = 0;
        for (auto at = page.find(what); at != std::string::npos; at = page.find(what, at + 1)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(count("<div class=\"block\">"), 2u);  // all programs, program 1
    EXPECT_EQ(count("</div>"), 2u);
    EXPECT_NE(page.find("<tr><td>[249]: <b>1000 [239]</b>  (03/05/26)</td></tr>"),
              std::string::npos);
    // 50001 ml at 1000 ml/min: 3000 s.
    EXPECT_NE(page.find("[2585]\n [240] 01 = 50:00 [230].\n[2558]"), std::string::npos);
    EXPECT_NE(page.find(" 00042"), std::string::npos);
    // A unit that keeps no total cycle count is not shown as one that was never used.
    data.totalCyclesKnown = false;
    EXPECT_NE(render().find("[2482]\n [2559]\n"), std::string::npos);
    EXPECT_NE(page.find("<title>[240] 01: 50.001 litres</title>"), std::string::npos);
    EXPECT_NE(page.find("<title>[240] 02: 3599 s (59:59 [230])</title>"), std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos);
    const auto tags = readTags(page);
    EXPECT_EQ(tags.broken, 0);
    EXPECT_EQ(tags.cells.count("B18"), 0u);  // pump 2 has no calibration
    EXPECT_EQ(tags.cells.at("D5"), "50001");

    // American units print ounces, month first.
    options.reportFrom = {1, 11, 26};
    options.reportTo = {30, 11, 26};
    data.programs[kTotalsRow].setFlowRate(0, 1250);
    const std::string us = render(true);
    EXPECT_NE(us.find(" [2586] - 11/01/26 [2587] - 11/30/26"), std::string::npos);
    EXPECT_NE(us.find("<b> 12.50 [239]</b>  (05/03/26)"), std::string::npos);
    EXPECT_EQ(readTags(us).cells.at("B14"), "12.50");
    EXPECT_EQ(readTags(us).cells.at("X5"), "500.01");
}

TEST_F(LaundryUsagePage, ShiftLinesOnlyWhenTheReportIsSplit) {
    const std::string plain = render();
    EXPECT_EQ(plain.find("SHIFT"), std::string::npos);
    // Not split: the shift table is not read, even though it holds figures.
    EXPECT_NE(plain.find("59:59 [230]\n[2488]\n00004"), std::string::npos);

    options.shiftChoice = kTwoShifts;
    const std::string split = render();
    EXPECT_NE(split.find("<b> SHIFT 1 &nbsp;&nbsp;&nbsp; start time = 06:00 &nbsp;&nbsp;&nbsp; "
                         "end time = 13:59</b><br />"),
              std::string::npos);
    EXPECT_NE(split.find("<br /><b> SHIFT 2 &nbsp;&nbsp;&nbsp; start time = 14:00 "
                         "&nbsp;&nbsp;&nbsp; end time = 22:00</b><br />"),
              std::string::npos);
    EXPECT_EQ(split.find("SHIFT 3"), std::string::npos);
    // All programs add the shift's run time to the main one, carried at 60: 59:59 + 2:00 is
    // 1 hour 1 minute 59 seconds; 4 + 3 doses.
    EXPECT_NE(split.find("01:01 [251]\n[2488]\n00007"), std::string::npos);
}

TEST_F(LaundryUsagePage, ProgramsOfADatedReportArePrintedWhenTheyCounted) {
    options.reportFrom = {1, 11, 26};
    options.reportTo = {30, 11, 26};
    data.programPresent[0] = 0;
    data.programPresent[3] = 1;  // present in the unit, but nothing counted in the range
    const std::string page = render();
    EXPECT_NE(page.find("[250] 1 (&lt;b&gt;&quot;&amp;):"), std::string::npos);
    EXPECT_EQ(page.find("[250] 4:"), std::string::npos);
}

TEST(DishwashSettingsPage, PumpAndDosingTagsAndAlwaysDayFirst) {
    model::CDishWashViewData d;
    d.Reset(1, 1);  // pump 2: 25%, run 0:01, off 0:00; probe initial delay 5:00
    d.DW_IOPercent[3] = 40;
    d.DW_Text = "<x>";
    const std::string page =
        renderDishwashSettings(d, fourPumpConfig(), bracketContext(/*us=*/true));
    const auto tags = readTags(page);
    EXPECT_EQ(tags.broken, 0);
    // Pump 2 is rows 65-69 of column C: speed, run minutes, seconds, off minutes, seconds.
    EXPECT_EQ(cellList(tags, {"A1", "B1", "C65", "C67", "C44", "C54", "C55"}),
              "A1=07\\12\\2026 B1=[225] C65=25 C67=1 C44=05:00 C54=40 C55=&lt;x&gt;");
    EXPECT_NE(page.find("<tr><td>2</td><td>025%</td><td>00:01</td><td><b>00:00</b> (1)</td></tr>"),
              std::string::npos);
}

}  // namespace
}  // namespace qelto::reports
