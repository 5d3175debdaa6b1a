// The laundry usage page: the unit's totals for all programs with calibrations and estimated run
// times, then one block per program, split into shifts when the report asked for them. Each block
// ends with a bar chart; every figure is also a cell tag.
#include <fmt/format.h>
#include <fmt/printf.h>

#include <algorithm>

#include "model/unit_types.h"
#include "platform/text_encoding.h"
#include "reports/cell_tag.h"
#include "reports/page_escape.h"
#include "reports/page_frame.h"
#include "reports/report_format.h"
#include "reports/report_kinds.h"
#include "reports/usage_chart.h"

namespace qelto::reports {

namespace {

// In place of the total cycle count of a unit that keeps none.
inline constexpr int kTextTotalNotReported = 2559;

// One pump's entry of a usage list: the three parts of its total, summed over the tables in use,
// and its count. A calibrated pump's parts form a volume, an uncalibrated one's are hours,
// minutes and seconds, carried at 60 when shifts are added together.
struct PumpFigure {
    bool calibrated = false;
    std::uint32_t high = 0;
    std::uint32_t middle = 0;
    std::uint32_t low = 0;
    std::uint32_t count = 0;

    std::uint32_t volume() const { return high * 65536u + middle * 256u + low; }
    std::uint32_t runSeconds() const { return high * 3600u + middle * 60u + low; }
    void add(const PumpFigure& other) {
        count += other.count;
        if (calibrated) {
            high += other.high;
            middle += other.middle;
            low += other.low;
            return;
        }
        const std::uint32_t seconds = runSeconds() + other.runSeconds();
        high = seconds / 3600;
        middle = seconds / 60 % 60;
        low = seconds % 60;
    }
};

class UsagePage {
  public:
    UsagePage(const UsagePageInput& in, const PageContext& context)
        : in_(in), page_(context), pumps_(std::min<std::uint32_t>(in.pumpCount, kUsagePumps)) {}

    std::string render();

  private:
    bool shift2() const { return in_.options.shiftChoice >= kTwoShifts; }
    bool shift3() const { return in_.options.shiftChoice == kThreeShifts; }
    bool hasRange() const { return in_.options.reportTo.day != 0; }
    bool calibrated(std::size_t row, std::size_t pump) const {
        return in_.data.programs[row].flowRate(pump) != 0;
    }

    PumpFigure mainFigure(std::size_t row, std::size_t pump) const;
    PumpFigure shiftFigure(const ShiftTable& table, std::size_t row, std::size_t pump) const;
    PumpFigure totalFigure(std::size_t row, std::size_t pump) const;
    std::string figureText(const PumpFigure& figure) const;

    void writeRangeLine();
    void writeEntry(std::size_t pump, const PumpFigure& figure);
    void writeCalibration(std::size_t pump);
    void writeAllPrograms();
    void writeEstimates();
    bool programPrinted(std::size_t row) const;
    void writeShiftList(std::size_t row, const ShiftTable& table, int shift);
    void writeProgram(std::size_t row);
    void writeChart(std::size_t row);
    void findChartScales();
    void writeFigureTags(const std::string& column, std::size_t pump, const PumpFigure& figure);
    void writeShiftTags();
    void writeUsageTags();

    const UsagePageInput& in_;
    PageWriter page_;
    std::uint32_t pumps_;
    // The largest volume and run time among the blocks printed: every chart of the page is drawn
    // to them, so a bar in one program can be compared with a bar in another.
    double volumeScale_ = 0;
    double timeScale_ = 0;
};

PumpFigure UsagePage::mainFigure(std::size_t row, std::size_t pump) const {
    const UsageCell cell = in_.data.programs[row].usage(pump);
    return {calibrated(row, pump), cell.timeHigh, cell.timeMiddle, cell.timeLow, cell.cycle};
}

PumpFigure UsagePage::shiftFigure(const ShiftTable& table, std::size_t row,
                                  std::size_t pump) const {
    return {calibrated(row, pump), table.high[row][pump], table.middle[row][pump],
            table.low[row][pump], table.cycle[row][pump]};
}

PumpFigure UsagePage::totalFigure(std::size_t row, std::size_t pump) const {
    PumpFigure figure = mainFigure(row, pump);
    if (shift2()) {
        figure.add(shiftFigure(in_.tables.shift2, row, pump));
    }
    if (shift3()) {
        figure.add(shiftFigure(in_.tables.shift3, row, pump));
    }
    return figure;
}

std::string UsagePage::figureText(const PumpFigure& figure) const {
    if (figure.calibrated) {
        return formatVolume(figure.volume(), page_.usUnits());
    }
    return formatRunTime(figure.high, figure.middle, figure.low, page_.str(230), page_.str(251));
}

void UsagePage::writeRangeLine() {
    if (!hasRange()) {
        return;
    }
    const ShortDate& from = in_.options.reportFrom;
    const ShortDate& to = in_.options.reportTo;
    const bool us = page_.usUnits();
    page_.line(" " + page_.str(2586) + " - " +
               formatDate(from.day, from.month, from.year, us, '/', 2) + " " + page_.str(2587) +
               " - " + formatDate(to.day, to.month, to.year, us, '/', 2));
}

void UsagePage::writeEntry(std::size_t pump, const PumpFigure& figure) {
    page_.text(2489);
    // The name sits in a span of its own, which the next text's "</span>" closes.
    page_.line(fmt::sprintf("%02u </span><span class=\"name\">%s", pump + 1,
                            pageText(in_.unit.pumpName[pump])));
    page_.text(figure.calibrated ? 2583 : 2490);
    page_.line(figureText(figure));
    page_.text(2488);
    page_.line(fmt::sprintf("%05u", figure.count));
    page_.text(2491);
}

void UsagePage::writeCalibration(std::size_t pump) {
    const ProgramRecord& all = in_.data.programs[kTotalsRow];
    const std::uint32_t flow = all.flowRate(pump);
    const ShortDate date = all.calibrationDate(pump);
    const unsigned day = date.day;
    const unsigned month = date.month;
    const unsigned year = date.year;
    if (page_.usUnits()) {
        page_.line(fmt::sprintf("<tr><td>%s: <b>%6.2f %s</b>  (%02u/%02u/%02u)</td></tr>",
                                page_.str(249), flow / 100.0, page_.str(239), month, day, year));
    } else {
        page_.line(fmt::sprintf("<tr><td>%s: <b>%u %s</b>  (%02u/%02u/%02u)</td></tr>",
                                page_.str(249), flow, page_.str(239), day, month, year));
    }
    const auto row = static_cast<std::uint32_t>(14 + 4 * pump);
    page_.line(page_.usUnits() ? cellTagDecimal(cellName("B", row), flow / 100.0)
                               : cellTag(cellName("B", row), flow));
    page_.line(cellTag(cellName("B", row + 1), day));
    page_.line(cellTag(cellName("B", row + 2), month));
    page_.line(cellTag(cellName("B", row + 3), year));
}

void UsagePage::writeAllPrograms() {
    page_.text(2474);
    // A block (heading, tables and chart) is kept on one printed page.
    page_.line("<div class=\"block\">");
    page_.text(2482);
    // Packet-protocol units keep no total cycle count; "00000" would read as a unit never used.
    page_.line(in_.data.totalCyclesKnown ? fmt::sprintf(" %05u", in_.data.totalCycles)
                                         : " " + page_.str(kTextTotalNotReported));
    page_.text(2483);
    page_.text(2484);
    page_.text(248);
    writeRangeLine();
    page_.text(2485);
    page_.text(2486);
    for (std::size_t pump = 0; pump < pumps_; ++pump) {
        writeEntry(pump, totalFigure(kTotalsRow, pump));
        if (calibrated(kTotalsRow, pump)) {
            writeCalibration(pump);
        }
    }
    page_.text(2487);
    writeChart(kTotalsRow);
    page_.line("</div>");
}

// How long each calibrated pump ran, worked out from its volume and its flow rate.
void UsagePage::writeEstimates() {
    page_.line("<p class=\"estimates\">");
    bool anyCalibrated = false;
    for (std::size_t pump = 0; pump < pumps_; ++pump) {
        anyCalibrated = anyCalibrated || calibrated(kTotalsRow, pump);
    }
    // One line, so no blank creeps in before a comma or the full stop.
    std::string list;
    if (anyCalibrated) {
        page_.text(2585);
        for (std::size_t pump = 0; pump < pumps_; ++pump) {
            if (!calibrated(kTotalsRow, pump)) {
                continue;
            }
            // 64 bits: a large volume times 60 must not wrap into a short run time.
            const std::uint64_t flow = in_.data.programs[kTotalsRow].flowRate(pump);
            const auto estimate = static_cast<std::uint32_t>(
                std::uint64_t{totalFigure(kTotalsRow, pump).volume()} * 60 / flow);
            if (estimate == 0) {
                continue;
            }
            list +=
                fmt::sprintf("%s%s %02u = %s", list.empty() ? " " : ", ", page_.str(240), pump + 1,
                             formatEstimate(estimate, page_.str(230), page_.str(251)));
        }
        if (!list.empty()) {
            page_.line(list + ".");
        }
    }
    const bool written = !list.empty();
    if (!written) {
        page_.text(241);
    }
    page_.text(2558);
}

bool UsagePage::programPrinted(std::size_t row) const {
    if (!hasRange()) {
        return in_.data.programPresent[row] != 0;
    }
    std::uint64_t counts = 0;
    for (std::size_t pump = 0; pump < kUsagePumps; ++pump) {
        counts += in_.data.programs[row].cycles(pump);
        if (shift2()) {
            counts += in_.tables.shift2.cycle[row][pump];
        }
        if (shift3()) {
            counts += in_.tables.shift3.cycle[row][pump];
        }
    }
    return counts != 0;
}

void UsagePage::writeShiftList(std::size_t row, const ShiftTable& table, int shift) {
    const ShiftWindow& window = in_.options.shifts[static_cast<std::size_t>(shift - 1)];
    page_.line(
        fmt::sprintf("<br /><b> SHIFT %d &nbsp;&nbsp;&nbsp; start time = %02u:%02u "
                     "&nbsp;&nbsp;&nbsp; end time = %02u:%02u</b><br />",
                     shift, window.start / 3600, window.start % 3600 / 60, window.end / 3600,
                     window.end % 3600 / 60));
    page_.text(2486);
    for (std::size_t pump = 0; pump < pumps_; ++pump) {
        writeEntry(pump, shiftFigure(table, row, pump));
    }
    page_.text(2487);
}

void UsagePage::writeProgram(std::size_t row) {
    const std::string& name = in_.unit.progName[row];
    page_.line("<div class=\"block\">");
    page_.text(2484);
    page_.line(name.empty() ? fmt::sprintf("%s %u:", page_.str(250), row + 1)
                            : fmt::sprintf("%s %u (%s):", page_.str(250), row + 1, pageText(name)));
    writeRangeLine();
    page_.text(2485);
    if (shift2()) {
        const ShiftWindow& first = in_.options.shifts[0];
        page_.line(fmt::sprintf(
            "<b> SHIFT 1 &nbsp;&nbsp;&nbsp; start time = %02u:%02u "
            "&nbsp;&nbsp;&nbsp; end time = %02u:%02u</b><br />",
            first.start / 3600, first.start % 3600 / 60, first.end / 3600, first.end % 3600 / 60));
    }
    page_.text(2486);
    for (std::size_t pump = 0; pump < pumps_; ++pump) {
        writeEntry(pump, mainFigure(row, pump));
    }
    page_.text(2487);
    if (shift2()) {
        writeShiftList(row, in_.tables.shift2, 2);
    }
    if (shift3()) {
        writeShiftList(row, in_.tables.shift3, 3);
    }
    writeChart(row);
    page_.line("</div>");
}

void UsagePage::findChartScales() {
    for (std::size_t row = 0; row < kUsageRows; ++row) {
        if (row != kTotalsRow && !programPrinted(row)) {
            continue;
        }
        for (std::size_t pump = 0; pump < pumps_; ++pump) {
            const PumpFigure figure = totalFigure(row, pump);
            double& scale = figure.calibrated ? volumeScale_ : timeScale_;
            scale = std::max(scale, static_cast<double>(figure.calibrated ? figure.volume()
                                                                          : figure.runSeconds()));
        }
    }
}

// Volumes and run times do not share a scale, so a block with both kinds of pump gets a chart
// for each.
void UsagePage::writeChart(std::size_t row) {
    std::vector<ChartBar> volumes;
    std::vector<ChartBar> times;
    for (std::size_t pump = 0; pump < pumps_; ++pump) {
        const PumpFigure figure = totalFigure(row, pump);
        const auto number = static_cast<unsigned>(pump + 1);
        if (figure.calibrated) {
            volumes.push_back({number, static_cast<double>(figure.volume()), figureText(figure)});
        } else {
            times.push_back({number, static_cast<double>(figure.runSeconds()),
                             fmt::format("{} s ({})", figure.runSeconds(), figureText(figure))});
        }
    }
    const std::string label = page_.str(240);
    for (const std::string& svg : {usageChartSvg(volumes, page_.str(2578), label, volumeScale_),
                                   usageChartSvg(times, page_.str(2582), label, timeScale_)}) {
        if (!svg.empty()) {
            page_.line(svg);
        }
    }
}

// A pump's figure in rows 6 x pump + 1 to 5 of the column: hours, minutes, seconds, count, volume.
void UsagePage::writeFigureTags(const std::string& column, std::size_t pump,
                                const PumpFigure& figure) {
    const auto cell = [&](std::size_t k) { return cellName(column, stepRow(0, pump, k)); };
    if (figure.calibrated) {
        page_.line(cellTag(cell(0), 0u));
        page_.line(cellTag(cell(1), 0u));
        page_.line(cellTag(cell(2), 0u));
        page_.line(page_.usUnits() ? cellTagDecimalWide(cell(4), figure.volume() / 100.0)
                                   : cellTag(cell(4), figure.volume()));
    } else {
        page_.line(cellTag(cell(0), figure.high));
        page_.line(cellTag(cell(1), figure.middle));
        page_.line(cellTag(cell(2), figure.low));
        page_.line(cellTag(cell(4), 0u));
    }
    page_.line(cellTag(cell(3), figure.count));
}

// Column X holds the main table, which is shift 1 when the report is split; the all-programs
// figures of shifts 2 and 3 go to columns Y and AA (Z holds the template's notes), and A12 to
// A18 say how many shifts there are and when each starts and ends.
void UsagePage::writeShiftTags() {
    const int shifts = shift3() ? 3 : shift2() ? 2 : 1;
    page_.line(cellTag("A12", static_cast<std::uint32_t>(shifts)));
    if (shifts == 1) {
        return;
    }
    const auto clock = [](std::uint32_t seconds) {
        return fmt::sprintf("%02u:%02u", seconds / 3600, seconds % 3600 / 60);
    };
    for (std::size_t shift = 0; shift < static_cast<std::size_t>(shifts); ++shift) {
        const ShiftWindow& window = in_.options.shifts[shift];
        const auto row = static_cast<std::uint32_t>(13 + 2 * shift);
        page_.line(cellTag(cellName("A", row), clock(window.start)));
        page_.line(cellTag(cellName("A", row + 1), clock(window.end)));
    }
    for (std::size_t pump = 0; pump < pumps_; ++pump) {
        writeFigureTags("Y", pump, shiftFigure(in_.tables.shift2, kTotalsRow, pump));
        if (shifts == 3) {
            writeFigureTags("AA", pump, shiftFigure(in_.tables.shift3, kTotalsRow, pump));
        }
    }
}

void UsagePage::writeUsageTags() {
    page_.line(cellTag("B2", pumps_));
    for (std::size_t row = 0; row < kUsageRows; ++row) {
        for (std::size_t pump = 0; pump < kUsagePumps; ++pump) {
            writeFigureTags(programColumn(row), pump, mainFigure(row, pump));
        }
    }
    writeShiftTags();
}

std::string UsagePage::render() {
    const model::CProgData& unit = in_.unit;
    writePageHead(page_, {0, REP_FROM_USB_UNIT, 0, page_.usUnits(),
                          model::textOf(unit.customerName1), model::textOf(unit.customerName2)});
    writeLaundryIdentity(page_, unit, true);
    findChartScales();
    writeAllPrograms();
    writeEstimates();
    for (std::size_t row = 0; row < kUsagePrograms; ++row) {
        if (!unit.progName[row].empty()) {
            page_.line(cellTag(cellName("B", static_cast<std::uint32_t>(80 + row)),
                               platform::latin1ToUtf8(unit.progName[row])));
        }
    }
    for (std::size_t row = 0; row < kUsagePrograms; ++row) {
        if (programPrinted(row)) {
            writeProgram(row);
        }
    }
    writeUsageTags();
    writePageClose(page_, unit.comments);
    return page_.take();
}

}  // namespace

std::string renderLaundryUsage(const UsagePageInput& input, const PageContext& context) {
    return UsagePage(input, context).render();
}

}  // namespace qelto::reports
