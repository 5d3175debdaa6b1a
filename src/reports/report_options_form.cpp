#include "reports/report_options_form.h"

#include <algorithm>

namespace qelto::reports {
namespace {

ShortDate shortDate(const CalendarDate& date) {
    return {static_cast<std::uint8_t>(date.day), static_cast<std::uint8_t>(date.month),
            static_cast<std::uint8_t>(date.year - 2000)};
}

std::uint32_t dayNumber(const CalendarDate& date) {
    if (date.day < 1 || date.month < 1 || date.year < 1) {
        return 0;
    }
    return julianDay(static_cast<unsigned>(date.day), static_cast<unsigned>(date.month),
                     static_cast<unsigned>(date.year))
        .value_or(0);
}

void clearRange(ReportOptions& options) {
    options.fromDay = 0;
    options.toDay = 0;
    options.reportFrom = {};
    options.reportTo = {};
    options.shiftChoice = kNoShifts;
}

}  // namespace

ReportOptionsForm::ReportOptionsForm(const CalendarDate& today, std::uint32_t secondsNow)
    : today_(today), from_(today), to_(today) {
    shifts_.fill({secondsNow, secondsNow});
}

void ReportOptionsForm::choose(ReportChoice choice) {
    choice_ = choice;
}

void ReportOptionsForm::setFrom(const CalendarDate& date) {
    from_ = std::min({date, today_, to_});
    fromChanged_ = true;
}

void ReportOptionsForm::setTo(const CalendarDate& date) {
    to_ = std::max(std::min(date, today_), from_);
}

void ReportOptionsForm::setShiftChoice(std::int8_t choice) {
    shiftChoice_ = std::clamp(choice, static_cast<std::int8_t>(kNoShifts),
                              static_cast<std::int8_t>(kThreeShifts));
}

void ReportOptionsForm::setShiftStart(std::size_t shift, std::uint32_t seconds) {
    ShiftWindow& window = shifts_.at(shift);
    window.start = seconds;
    window.end = std::max(window.end, window.start);
}

void ReportOptionsForm::setShiftEnd(std::size_t shift, std::uint32_t seconds) {
    ShiftWindow& window = shifts_.at(shift);
    window.end = std::max(seconds, window.start);
}

FormEnabled ReportOptionsForm::enabled() const {
    FormEnabled enabled;
    if (choice_ != ReportChoice::DateRange) {
        return enabled;
    }
    enabled.fromDate = true;
    // Both dates start at today, so no range but today's can be had until From moves back.
    enabled.toDate = fromChanged_;
    enabled.shiftButtons = true;
    enabled.shiftTimes = {shiftChoice_ >= kTwoShifts, shiftChoice_ >= kTwoShifts,
                          shiftChoice_ == kThreeShifts};
    return enabled;
}

ReportResult ReportOptionsForm::accept(ReportOptions& options) const {
    switch (choice_) {
        case ReportChoice::UnitTotals:
            clearRange(options);
            return kReadTotals;
        case ReportChoice::UnitSettings:
            return kReadSettings;
        case ReportChoice::DateRange:
            break;
    }
    if (from_ <= to_ || to_ != today_) {
        options.reportFrom = shortDate(from_);
        options.reportTo = shortDate(to_);
        options.fromDay = dayNumber(from_);
        options.toDay = dayNumber(to_);
        options.shiftChoice = shiftChoice_;
        options.shifts = shifts_;
    } else {
        clearRange(options);
    }
    return kReadDateRange;
}

}  // namespace qelto::reports
