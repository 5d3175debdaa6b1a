// The laundry settings page: pump speeds and calibrations, the flush-valve wiring, the unit-wide
// settings and every enabled step of the programs that have one, each figure also as a cell tag.
#include <fmt/printf.h>

#include "model/unit_types.h"
#include "reports/cell_tag.h"
#include "reports/page_escape.h"
#include "reports/page_frame.h"
#include "reports/report_kinds.h"

namespace qelto::reports {

namespace {

using model::CProgData;
using model::MinSec;

void writePumpSpeeds(PageWriter& page, const CProgData& config, unsigned pumps) {
    page.text(2462);
    page.text(2463);
    page.text(2470);
    for (unsigned p = 0; p < pumps; ++p) {
        page.line("<td width=15>&nbsp;</td>");
        page.text(2475);
        page.line(fmt::sprintf("%2u = %u%%", p + 1, unsigned{config.pumpSpeed[p]}));
        if (!config.pumpName[p].empty()) {
            page.line(" (" + pageText(config.pumpName[p]) + ")");
        }
        page.text(2476);
        if (p % 2 == 1) {
            page.line("</tr><tr>");
        }
    }
    page.text(2471);
}

void writeFlowRates(PageWriter& page, const CProgData& config, unsigned pumps) {
    page.text(2575);
    for (unsigned p = 0; p < pumps; ++p) {
        page.line("<td width=15>&nbsp;</td>");
        page.text(2475);
        const std::uint32_t calibration = config.pumpCalibration[p];
        page.line(page.usUnits() ? fmt::sprintf("%2u = %#6.2ffl oz/min", p + 1, calibration / 100.0)
                                 : fmt::sprintf("%2u = %uml/min", p + 1, calibration));
        page.text(2476);
        if (p % 2 == 1) {
            page.line("</tr><tr>");
        }
    }
    page.text(2581);
    page.line(cellTag("B2", pumps));
    for (unsigned p = 0; p < model::kPumps; ++p) {
        page.line(cellTag(cellName("B", 3 + p), config.pumpSpeed[p]));
    }
}

// Which flush valve (1-3, or none) serves each pump: one row per choice, an X where it applies.
void writeFlushValves(PageWriter& page, const CProgData& config, unsigned pumps) {
    constexpr unsigned kChoices = 4;  // flush valves 1-3, then "none"
    page.text(2576);
    page.text(2450);
    page.text(2579);
    page.text(2461);
    for (unsigned p = 0; p < pumps; ++p) {
        page.text(2579);
        // The catalog's pump label has no blank of its own before the number.
        page.line(fmt::sprintf("%s%02u", page.str(240) + " ", p + 1));
        page.text(2461);
    }
    page.text(2580);
    for (unsigned choice = 0; choice < kChoices; ++choice) {
        page.text(2450);
        page.text(2579);
        page.line("<p align=Right>");
        page.line(choice + 1 < kChoices ? fmt::sprintf("%s%02u ", page.str(404), choice + 1)
                                        : page.str(403));
        page.text(2461);
        for (unsigned p = 0; p < pumps; ++p) {
            const bool chosen = config.pumpSpeedRange[p] == choice;
            page.text(2460);
            page.line("<p align=Center>");
            page.line(chosen ? "X" : ".");
            page.text(2461);
            if (chosen) {
                page.line(cellTag(cellName("B", 100 + p), choice + 1));
            }
        }
        page.text(2472);
    }
    page.text(2577);
}

std::string onOff(const PageWriter& page, std::uint32_t flag, int offId, int onId) {
    return page.str(flag != 0 ? onId : offId);
}

void settingsRow(PageWriter& page, int labelId, const std::string& cells) {
    page.line("<tr><td><b>" + page.str(labelId) + ":</b>" + page.str(2530) + cells + "</td></tr>");
}

void writeGlobalSettings(PageWriter& page, const CProgData& c) {
    page.text(2528);
    const auto timeAfter = [&](const std::string& text, int labelId, const MinSec& t) {
        return fmt::sprintf("%s </td><td><b>%s:</b></td><td>%02um : %02us", text, page.str(labelId),
                            unsigned{t.minutes}, unsigned{t.seconds});
    };
    settingsRow(page, 2531,
                timeAfter(onOff(page, c.resetDelayOff, 423, 424), 2532, c.resetDelayTime));
    settingsRow(page, 2533, timeAfter(onOff(page, c.FlushType, 427, 428), 2534, c.flushValveTime));
    settingsRow(
        page, 2535,
        fmt::sprintf("%s </td><td><b>%s:</b></td><td>%02us", onOff(page, c.relayMode, 429, 430),
                     page.str(2536), unsigned{c.autofs_accept_time}));
    settingsRow(page, 2537,
                fmt::sprintf("%02um : %02us</td><td><b>%s:</b></td><td>%s",
                             unsigned{c.autofs_time.minutes}, unsigned{c.autofs_time.seconds},
                             page.str(2538), onOff(page, c.resetDelayLastInput, 425, 426)));
    settingsRow(page, 2539, fmt::sprintf("%u %s ", unsigned{c.accessCode}, ""));
    page.text(2529);
    // The spreadsheet reads each setting as a switch and its minutes and seconds.
    page.line(cellTag("B54", c.resetDelayOff != 0 ? 1u : 0u));
    page.line(cellTag("B55", c.resetDelayTime.minutes));
    page.line(cellTag("B56", c.resetDelayTime.seconds));
    page.line(cellTag("B60", c.FlushType != 0 ? 1u : 0u));
    page.line(cellTag("B61", c.flushValveTime.minutes));
    page.line(cellTag("B62", c.flushValveTime.seconds));
    page.line(cellTag("B66", c.relayMode != 0 ? 1u : 0u));
    page.line(cellTag("B67", c.accessCode));
}

void writeStep(PageWriter& page, const CProgData& c, unsigned prog, unsigned trig, unsigned pump) {
    const model::PumpStep& step = c.programs[prog][trig][pump];
    const unsigned pulses = c.pulseCount[prog][trig];
    const bool calibrated = c.pumpCalibration[pump] != 0;
    const unsigned delayMin = step.delayTime.minutes;
    const unsigned delaySec = step.delayTime.seconds;
    page.text(2480);
    if (!calibrated) {
        page.line(fmt::sprintf(
            "<td>%2u</td><td>%u</td><td>%u</td><td>%um:%02us</td><td>%um:%02us</td></tr>", trig + 1,
            pulses, pump + 1, delayMin, delaySec, unsigned{step.runTime.minutes},
            unsigned{step.runTime.seconds}));
    } else if (page.usUnits()) {
        page.line(fmt::sprintf(
            "<td>%2u</td><td>%u</td><td>%u</td><td>%um:%02us</td><td>%6.2ffl oz</td></tr>",
            trig + 1, pulses, pump + 1, delayMin, delaySec, step.dose / 100.0));
    } else {
        page.line(
            fmt::sprintf("<td>%2u</td><td>%u</td><td>%u</td><td>%um:%02us</td><td>%03uml</td></tr>",
                         trig + 1, pulses, pump + 1, delayMin, delaySec, step.dose));
    }
    const std::string column = programColumn(prog);
    const auto cell = [&](std::size_t k) { return cellName(column, stepRow(trig, pump, k)); };
    page.line(cellTag(cell(0), pulses));
    page.line(cellTag(cell(1), delayMin));
    page.line(cellTag(cell(2), delaySec));
    page.line(cellTag(cell(3), step.runTime.minutes));
    page.line(cellTag(cell(4), step.runTime.seconds));
    page.line(page.usUnits() ? cellTagDecimal(cell(5), step.dose / 100.0)
                             : cellTag(cell(5), step.dose));
}

bool hasSteps(const CProgData& c, unsigned prog) {
    for (unsigned trig = 0; trig < model::kTriggers; ++trig) {
        for (unsigned pump = 0; pump < model::kPumps; ++pump) {
            if (c.pumpEnabled[prog][trig][pump] != 0) {
                return true;
            }
        }
    }
    return false;
}

// A program without a single enabled step would print as a table of headings only.
void writePrograms(PageWriter& page, const CProgData& c) {
    for (unsigned prog = 0; prog < model::kPrograms; ++prog) {
        if (!hasSteps(c, prog)) {
            continue;
        }
        page.text(2464);
        page.line(c.progName[prog].empty()
                      ? fmt::sprintf("%u ", prog + 1)
                      : fmt::sprintf("%u (%s) ", prog + 1, pageText(c.progName[prog])));
        page.text(2465);
        page.text(2477);
        for (unsigned trig = 0; trig < model::kTriggers; ++trig) {
            bool any = false;
            for (unsigned pump = 0; pump < model::kPumps; ++pump) {
                if (c.pumpEnabled[prog][trig][pump] != 0) {
                    writeStep(page, c, prog, trig, pump);
                    any = true;
                }
            }
            if (any) {
                page.text(2479);
            }
        }
        page.text(2478);
    }
}

}  // namespace

std::string renderLaundrySettings(const model::CProgData& config, std::uint8_t source,
                                  const PageContext& context) {
    PageWriter page(context);
    const bool fromUnit = source == REP_FROM_USB_UNIT;
    writePageHead(page, {1, source, 0, context.usUnits, model::textOf(config.customerName1),
                         model::textOf(config.customerName2)});
    writeLaundryIdentity(page, config, fromUnit);
    const unsigned pumps = model::unitPumpCount(config.unitType);
    writePumpSpeeds(page, config, pumps);
    writeFlowRates(page, config, pumps);
    writeFlushValves(page, config, pumps);
    writeGlobalSettings(page, config);
    writePrograms(page, config);
    writePageClose(page, config.comments);
    return page.take();
}

}  // namespace qelto::reports
