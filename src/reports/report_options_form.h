// The report options dialog without its widgets: which report to read from a unit, the date
// range and the shifts, the rules that keep them consistent while the operator edits, which
// controls are live, and what OK hands to the operation driver.
#pragma once

#include <array>
#include <compare>
#include <cstdint>

#include "reports/report_options.h"

namespace qelto::reports {

enum class ReportChoice : std::uint8_t { UnitTotals = 0, DateRange = 1, UnitSettings = 2 };

// What the driver does after OK: read the settings, the unit's totals, or its log.
enum ReportResult : int {
    kReadSettings = 4,
    kReadTotals = 5,
    kReadDateRange = 6,
};

struct CalendarDate {
    int year = 2000;
    int month = 1;
    int day = 1;
    friend auto operator<=>(const CalendarDate&, const CalendarDate&) = default;
};

// Which controls accept input.
struct FormEnabled {
    bool fromDate = false;
    bool toDate = false;
    bool shiftButtons = false;
    std::array<bool, kShifts> shiftTimes{};  // start and end of each shift together
    friend bool operator==(const FormEnabled&, const FormEnabled&) = default;
};

class ReportOptionsForm {
  public:
    // Opens as the dialog does: a date range of today alone, no shifts, every shift time now.
    ReportOptionsForm(const CalendarDate& today, std::uint32_t secondsNow);

    void choose(ReportChoice choice);
    void setFrom(const CalendarDate& date);
    void setTo(const CalendarDate& date);
    void setShiftChoice(std::int8_t choice);
    void setShiftStart(std::size_t shift, std::uint32_t seconds);
    void setShiftEnd(std::size_t shift, std::uint32_t seconds);

    ReportChoice choice() const { return choice_; }
    const CalendarDate& from() const { return from_; }
    const CalendarDate& to() const { return to_; }
    std::int8_t shiftChoice() const { return shiftChoice_; }
    const ShiftWindow& shift(std::size_t i) const { return shifts_.at(i); }
    FormEnabled enabled() const;

    // OK: fills the options as the choice asks and says what the driver is to read.
    ReportResult accept(ReportOptions& options) const;

  private:
    CalendarDate today_;
    ReportChoice choice_ = ReportChoice::DateRange;
    CalendarDate from_;
    CalendarDate to_;
    bool fromChanged_ = false;
    std::int8_t shiftChoice_ = kNoShifts;
    std::array<ShiftWindow, kShifts> shifts_{};
};

}  // namespace qelto::reports
