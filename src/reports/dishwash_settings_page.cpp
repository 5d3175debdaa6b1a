// The dishwash settings page: the three pumps, the dosing settings and the timed outputs of a
// dishwash unit's record, each figure also as a cell tag. Dates are always day first here, as on
// the dishwash units themselves.
#include <fmt/printf.h>

#include "platform/text_encoding.h"
#include "reports/cell_tag.h"
#include "reports/page_escape.h"
#include "reports/page_frame.h"

namespace qelto::reports {

namespace {

using model::CDishWashViewData;
using model::MinSec;

// Types 0 and 1 have names of their own; 2-5 take the strings below them.
std::string dishwashTypeName(const PageWriter& page, std::uint8_t type) {
    if (type <= 5) {
        return page.str(226 - type);
    }
    return std::to_string(type);
}

std::string minSec(const MinSec& t) {
    return fmt::sprintf("%02u:%02u", unsigned{t.minutes}, unsigned{t.seconds});
}

void writePumps(PageWriter& page, const CDishWashViewData& d) {
    page.text(2540);
    for (unsigned p = 0; p < 3; ++p) {
        page.line(fmt::sprintf("<tr><td>%01u</td><td>%03u%%</td><td>%02u:%02u</td><td><b>", p + 1,
                               unsigned{d.DW_PumpSpeed[p]}, unsigned{d.DW_PumpRunTime[p].minutes},
                               unsigned{d.DW_PumpRunTime[p].seconds}) +
                  fmt::sprintf("%02u:%02u</b> (%s)", unsigned{d.DW_PumpOffTime[p].minutes},
                               unsigned{d.DW_PumpOffTime[p].seconds},
                               std::to_string(d.DW_PumpPulse[p])) +
                  "</td></tr>");
        const auto cell = [&](unsigned k) { return cellName("C", 60 + 5 * p + k); };
        page.line(cellTag(cell(0), d.DW_PumpSpeed[p]));
        page.line(cellTag(cell(1), d.DW_PumpRunTime[p].minutes));
        page.line(cellTag(cell(2), d.DW_PumpRunTime[p].seconds));
        page.line(cellTag(cell(3), d.DW_PumpOffTime[p].minutes));
        page.line(cellTag(cell(4), d.DW_PumpOffTime[p].seconds));
    }
    page.text(2541);
}

void settingsRow(PageWriter& page, int labelId, const std::string& valueHtml) {
    page.line("<tr><td><b>" + page.str(labelId) + ":</b>" + page.str(2530) + valueHtml +
              "</td></tr>");
}

void writeDosing(PageWriter& page, const CDishWashViewData& d) {
    page.text(2542);
    settingsRow(page, 2543, std::to_string(d.DW_UnitMode));
    settingsRow(page, 2544, std::to_string(d.DW_ICmode));
    settingsRow(page, 2545, minSec(d.DW_ICRunTime));
    settingsRow(page, 2546, minSec(d.DW_ICDelayTime));
    settingsRow(page, 2547, std::to_string(d.DW_ICPulseCount));
    settingsRow(page, 2548, std::to_string(d.DW_ProbeMode));
    settingsRow(page, 2549, std::to_string(d.DW_ProbeConcentration));
    settingsRow(page, 2550, minSec(d.DW_ProbeInitialDelay));
    settingsRow(page, 2551, minSec(d.DW_ProbeAlarmDelay));
    settingsRow(page, 2552, std::to_string(d.DW_ProbeAlarmOff));
    settingsRow(page, 2555, std::to_string(d.DW_PropTo));
    settingsRow(page, 2556, std::to_string(d.DW_PropRunning));
    settingsRow(page, 2553, std::to_string(d.DW_IOCheckbox));
    // An output keeps its two numbers in the third byte (shown first) and the first byte.
    for (unsigned io = 0; io < 4; ++io) {
        page.line("<tr><td></td><td>" +
                  fmt::sprintf("%03u%% &nbsp; IO%01u Time=%02u:%02u &nbsp; IO%01u Dur=%02u:%02u",
                               unsigned{d.DW_IOPercent[io]}, io + 1,
                               unsigned{d.DW_IOTime[io].third}, unsigned{d.DW_IOTime[io].minutes},
                               io + 1, unsigned{d.DW_IODuration[io].third},
                               unsigned{d.DW_IODuration[io].minutes}) +
                  "</td></tr>");
    }
    const std::string serial = platform::latin1ToUtf8(model::textOf(d.DW_SerialNo));
    settingsRow(page, 2554, escapeHtml(serial));
    page.text(2512);

    page.line(cellTag("C31", d.DW_UnitMode));
    page.line(cellTag("C32", d.DW_ICmode));
    page.line(cellTag("C33", d.DW_ICRunTime.minutes));
    page.line(cellTag("C34", d.DW_ICRunTime.seconds));
    page.line(cellTag("C35", d.DW_ICDelayTime.minutes));
    page.line(cellTag("C36", d.DW_ICDelayTime.seconds));
    page.line(cellTag("C41", d.DW_ICPulseCount));
    page.line(cellTag("C42", d.DW_ProbeMode));
    page.line(cellTag("C43", d.DW_ProbeConcentration));
    page.line(cellTag("C44", minSec(d.DW_ProbeInitialDelay)));
    page.line(cellTag("C45", d.DW_ProbeAlarmDelay.minutes));
    page.line(cellTag("C46", d.DW_ProbeAlarmDelay.seconds));
    page.line(cellTag("C47", d.DW_ProbeAlarmOff));
    page.line(cellTag("C48", d.DW_IOCheckbox));
    page.line(cellTag("C50", serial));
    for (unsigned io = 0; io < 4; ++io) {
        page.line(cellTag(cellName("C", 51 + io), d.DW_IOPercent[io]));
    }
    page.line(cellTag("C55", platform::latin1ToUtf8(d.DW_Text)));
}

}  // namespace

std::string renderDishwashSettings(const model::CDishWashViewData& settings,
                                   const model::CProgData& document, const PageContext& context) {
    PageWriter page(context);
    writePageHead(page, {1, 0, 1, false, model::textOf(document.customerName1),
                         model::textOf(document.customerName2)});
    const std::string typeName = dishwashTypeName(page, settings.DW_UnitType);
    page.text(2516);
    page.line(escapeHtml(typeName));
    page.line(cellTag("B1", typeName));
    page.text(2517);
    writePumps(page, settings);
    writeDosing(page, settings);
    writePageClose(page, document.comments);
    return page.take();
}

}  // namespace qelto::reports
