#include "reports/xlsx_summary.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <vector>

#include "platform/text_helpers.h"
#include "reports/julian_day.h"

namespace qelto::reports {
namespace {

constexpr std::uint32_t kMaxPumps = 10;
// The spreadsheet's day 0 is 30 December 1899, Julian day 2415019.
constexpr std::uint32_t kJulianDayOfSerialZero = 2415019;
constexpr double kSecondsPerDay = 86400.0;
// The pump table's columns; the usage figures follow, three columns for each shift.
constexpr std::uint32_t kFirstUsageColumn = 5;

using platform::trimmed;

std::optional<std::uint32_t> wholeNumber(std::string_view text) {
    text = trimmed(text);
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

// "2026-12-07" with '-', "09:05:03" with ':': three whole numbers.
std::optional<std::array<std::uint32_t, 3>> threeParts(std::string_view text, char separator) {
    std::array<std::uint32_t, 3> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t end = i + 1 < parts.size() ? text.find(separator) : text.size();
        const auto part = wholeNumber(text.substr(0, end));
        if (end == std::string_view::npos || !part) {
            return std::nullopt;
        }
        parts[i] = *part;
        text = text.substr(std::min(end + 1, text.size()));
    }
    return parts;
}

std::optional<std::string> dateSerial(std::uint32_t day, std::uint32_t month, std::uint32_t year) {
    const auto julian = julianDay(day, month, year);
    if (year < 1900 || !julian) {
        return std::nullopt;
    }
    return std::to_string(*julian - kJulianDayOfSerialZero);
}

std::string dayFraction(std::uint64_t seconds) {
    return fmt::format("{}", static_cast<double>(seconds) / kSecondsPerDay);
}

struct UsageGroup {
    std::string column;  // the data sheet's column of the shift's all-programs figures
    std::string heading;
};

class SummaryWriter {
  public:
    SummaryWriter(const std::map<std::string, std::string>& data, std::string_view dataSheetName)
        : data_(data), dataSheetName_(dataSheetName) {}

    SheetCells write() {
        put(1, 1, "Qelto report", CellKind::Text, kStyleBold);
        row_ = 3;
        writeIdentity();
        const std::uint32_t pumps = pumpCount();
        if (pumps > 0) {
            ++row_;
            writePumps(pumps);
        }
        ++row_;
        put(row_, 1,
            "Usage over all programs, run times in hours:minutes:seconds. Volumes in ml and flow "
            "rates in ml/min, or fl oz with US units. Every value is also on the " +
                std::string(dataSheetName_) + " sheet.",
            CellKind::Text);
        std::sort(cells_.begin(), cells_.end(),
                  [](const SheetCell& a, const SheetCell& b) { return a.ref < b.ref; });
        return std::move(cells_);
    }

  private:
    std::string_view value(const std::string& name) const {
        const auto found = data_.find(name);
        return found == data_.end() ? std::string_view{} : trimmed(found->second);
    }

    void put(std::uint32_t row, std::uint32_t column, std::string content, CellKind kind,
             std::uint32_t style = kStyleNormal) {
        if (!content.empty()) {
            cells_.push_back({{row, column}, std::move(content), kind, style});
        }
    }

    void identityRow(const char* label, std::string content, CellKind kind,
                     std::uint32_t style = kStyleNormal) {
        if (content.empty()) {
            return;
        }
        put(row_, 1, label, CellKind::Text, kStyleBold);
        put(row_, 2, std::move(content), kind, style);
        ++row_;
    }

    void writeIdentity() {
        // A11 holds the date year first; A1 is day or month first as the page was written.
        if (const auto date = threeParts(value("A11"), '-')) {
            if (auto serial = dateSerial((*date)[2], (*date)[1], (*date)[0])) {
                identityRow("Date", std::move(*serial), CellKind::Number, kStyleDate);
            }
        } else {
            std::string typed(value("A1"));
            std::replace(typed.begin(), typed.end(), '\\', '/');
            identityRow("Date", typed, CellKind::Text);
        }
        const auto time = threeParts(value("A2"), ':');
        if (time && (*time)[0] < 24 && (*time)[1] < 60 && (*time)[2] < 60) {
            identityRow("Time", dayFraction((*time)[0] * 3600u + (*time)[1] * 60u + (*time)[2]),
                        CellKind::Number, kStyleTime);
        } else {
            identityRow("Time", std::string(value("A2")), CellKind::Text);
        }
        const std::string_view kind = value("A3");
        identityRow("Report",
                    kind == "1"   ? "Settings"
                    : kind == "0" ? "Usage"
                                  : "",
                    CellKind::Text);
        identityRow("Customer", std::string(value("A5")), CellKind::Text);
        identityRow("", std::string(value("A6")), CellKind::Text);
        identityRow("Unit model", std::string(value("B1")), CellKind::Text);
        const std::string_view serial = value("A10").empty() ? value("C50") : value("A10");
        identityRow("Serial number", std::string(serial), CellKind::Text, kStyleText);
        identityRow("Software version", std::string(value("A7")), CellKind::Text);
        identityRow("Number of pumps", std::string(value("B2")), CellKind::Typed);
        identityRow("Comment", std::string(value("A100")), CellKind::Text);
    }

    static std::uint32_t flowRow(std::uint32_t pump) { return 14 + 4 * (pump - 1); }
    static std::uint32_t usageRow(std::uint32_t pump, std::uint32_t k) {
        return 6 * (pump - 1) + k;
    }

    // The unit's own count, or, from a page that does not say, the last pump with any figure.
    std::uint32_t pumpCount() const {
        if (const auto pumps = wholeNumber(value("B2")); pumps && *pumps <= kMaxPumps) {
            return *pumps;
        }
        std::uint32_t last = 0;
        for (std::uint32_t pump = 1; pump <= kMaxPumps; ++pump) {
            const bool any = !value(fmt::format("B{}", 2 + pump)).empty() ||
                             !value(fmt::format("B{}", flowRow(pump))).empty() ||
                             !value(fmt::format("X{}", usageRow(pump, 4))).empty();
            last = any ? pump : last;
        }
        return last;
    }

    std::string shiftHeading(std::uint32_t shift) const {
        const std::uint32_t first = 13 + 2 * (shift - 1);
        const std::string_view start = value(fmt::format("A{}", first));
        const std::string_view end = value(fmt::format("A{}", first + 1));
        return start.empty() || end.empty() ? fmt::format("Shift {}", shift)
                                            : fmt::format("Shift {} ({}-{})", shift, start, end);
    }

    // The shifts of a usage report: column X alone, or X, Y and AA for shifts 1 to 3.
    std::vector<UsageGroup> usageGroups() const {
        if (value("X4").empty()) {
            return {};
        }
        const std::uint32_t shifts = std::clamp(wholeNumber(value("A12")).value_or(1), 1u, 3u);
        if (shifts == 1) {
            return {{"X", "All programs"}};
        }
        std::vector<UsageGroup> groups;
        static constexpr std::array<const char*, 3> kColumns{"X", "Y", "AA"};
        for (std::uint32_t shift = 1; shift <= shifts; ++shift) {
            groups.push_back({kColumns[shift - 1], shiftHeading(shift)});
        }
        return groups;
    }

    void writePumps(std::uint32_t pumps) {
        const std::vector<UsageGroup> groups = usageGroups();
        std::uint32_t column = kFirstUsageColumn;
        for (const UsageGroup& group : groups) {
            put(row_, column, group.heading, CellKind::Text, kStyleBold);
            column += 3;
        }
        row_ += groups.empty() ? 0U : 1U;
        std::uint32_t header = 1;
        for (const char* name : {"Pump", "Speed (%)", "Flow rate", "Calibrated"}) {
            put(row_, header++, name, CellKind::Text, kStyleHeading);
        }
        for (std::size_t i = 0; i < groups.size(); ++i) {
            for (const char* name : {"Cycles", "Volume", "Run time"}) {
                put(row_, header++, name, CellKind::Text, kStyleHeading);
            }
        }
        for (std::uint32_t pump = 1; pump <= pumps; ++pump) {
            ++row_;
            writePump(pump, groups);
        }
        ++row_;
    }

    void writePump(std::uint32_t pump, const std::vector<UsageGroup>& groups) {
        put(row_, 1, std::to_string(pump), CellKind::Number);
        put(row_, 2, std::string(value(fmt::format("B{}", 2 + pump))), CellKind::Typed);
        const std::string_view flow = value(fmt::format("B{}", flowRow(pump)));
        put(row_, 3, std::string(flow), CellKind::Typed);
        const auto part = [&](std::uint32_t k) {
            return wholeNumber(value(fmt::format("B{}", flowRow(pump) + k)));
        };
        if (part(1) && part(2) && part(3)) {
            const std::uint32_t year = *part(3) < 100 ? 2000 + *part(3) : *part(3);
            if (auto serial = dateSerial(*part(1), *part(2), year)) {
                put(row_, 4, std::move(*serial), CellKind::Number, kStyleDate);
            }
        }
        // A calibrated pump counts a volume, any other its run time.
        const bool calibrated = !flow.empty() && flow != "0";
        std::uint32_t column = kFirstUsageColumn;
        for (const UsageGroup& group : groups) {
            const auto cell = [&](std::uint32_t k) {
                return value(group.column + std::to_string(usageRow(pump, k)));
            };
            put(row_, column, std::string(cell(4)), CellKind::Typed);
            if (calibrated) {
                put(row_, column + 1, std::string(cell(5)), CellKind::Typed);
            } else if (const auto hours = wholeNumber(cell(1))) {
                // A log search sums each part alone, so minutes and seconds can pass 59.
                const std::uint64_t seconds = std::uint64_t{*hours} * 3600 +
                                              wholeNumber(cell(2)).value_or(0) * 60ull +
                                              wholeNumber(cell(3)).value_or(0);
                put(row_, column + 2, dayFraction(seconds), CellKind::Number, kStyleDuration);
            }
            column += 3;
        }
    }

    const std::map<std::string, std::string>& data_;
    std::string_view dataSheetName_;
    SheetCells cells_;
    std::uint32_t row_ = 1;
};

}  // namespace

SheetCell dataSheetCell(CellRef ref, std::string content) {
    // A10: a laundry unit's serial number; C50: a dishwasher's.
    const bool serial = ref == CellRef{10, 1} || ref == CellRef{50, 3};
    // No style: the data sheet must also fill a template whose styles are not the shipped ones.
    return {ref, std::move(content), serial ? CellKind::Text : CellKind::Typed};
}

SheetCells summaryCells(const std::map<std::string, std::string>& data,
                        std::string_view dataSheetName) {
    return SummaryWriter(data, dataSheetName).write();
}

}  // namespace qelto::reports
