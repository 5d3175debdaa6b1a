// The four report pages as complete HTML documents: the laundry settings, the laundry usage, the
// dishwash settings and an older unit's text dump. Every value a spreadsheet needs is also written
// as an invisible cell tag, and every text that came from a document or a unit is escaped, so a
// name typed as "<b>" shows as typed and cannot break the page or a tag.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/dishwash_data.h"
#include "model/prog_data.h"
#include "reports/report_data.h"
#include "reports/report_options.h"
#include "reports/usage_tables.h"

namespace qelto::reports {

// When the page is drawn; passed in so a page drawn in a test is always the same page.
struct PageMoment {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct PageContext {
    std::function<std::string(int)> text;  // the language catalog by string number
    bool usUnits = false;                  // the "Language" setting is 8
    PageMoment now{};
};

// source is REP_FROM_MEMORY (0) or REP_FROM_USB_UNIT (2); a unit's identity (serial number,
// software version, customer names, comments) is already in config.
std::string renderLaundrySettings(const model::CProgData& config, std::uint8_t source,
                                  const PageContext& context);

// The main table's figures in data, shift tables 2 and 3 in tables (read only when
// options.shiftChoice asks for shifts), program and customer names, serial number, software
// version, unit type and comments from unit.
struct UsagePageInput {
    const ReportData& data;
    const UsageTables& tables;
    const ReportOptions& options;
    const model::CProgData& unit;
    std::uint32_t pumpCount;
};
std::string renderLaundryUsage(const UsagePageInput& input, const PageContext& context);

// Customer names and comments come from document.
std::string renderDishwashSettings(const model::CDishWashViewData& settings,
                                   const model::CProgData& document, const PageContext& context);

// An older unit's text dump: the lines it sent.
std::string renderTextDump(const std::vector<std::string>& lines, const PageContext& context);

}  // namespace qelto::reports
