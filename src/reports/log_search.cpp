#include "reports/log_search.h"

namespace qelto::reports {

LogWordType logWordType(std::uint32_t word) {
    return static_cast<LogWordType>(word & 0x3U);
}

PumpRecord decodePumpRecord(std::uint32_t word) {
    return {static_cast<std::uint8_t>((word >> 2) & 0x1FU),
            static_cast<std::uint8_t>((word >> 7) & 0xFU), word >> 11};
}

DateRecord decodeDateRecord(std::uint32_t word) {
    DateRecord record;
    record.date.day = static_cast<std::uint8_t>((word >> 2) & 0x1FU);
    record.date.month = static_cast<std::uint8_t>((word >> 7) & 0xFU);
    record.date.year = static_cast<std::uint8_t>((word >> 11) & 0x3FU);
    // Bits 17-31 count units of 4 seconds; the two bits below them belong to the year.
    record.timeOfDay = (word >> 15) & 0x1FFFCU;
    return record;
}

bool isLogEnd(std::uint32_t word) {
    return word == 0 || word == 0xFFFFFFFFU;
}

LogSearch::LogSearch(ReportOptions& options, UsageTables& tables)
    : options_(options), tables_(tables) {}

bool LogSearch::ParseLogRecord(std::uint32_t word) {
    if (isLogEnd(word)) {
        state_ = SearchState::Done;
        return true;
    }
    switch (logWordType(word)) {
        case LogWordType::Pump:
            if (state_ == SearchState::InRange) {
                countPump(decodePumpRecord(word));
            }
            return false;
        case LogWordType::Date:
            if (state_ == SearchState::Done) {
                return true;
            }
            takeDate(decodeDateRecord(word));
            return false;
        default:
            return false;
    }
}

void LogSearch::countPump(const PumpRecord& record) {
    // The fields have room for programs and pumps the unit does not have; a damaged word must
    // not reach past the tables.
    if (record.program >= kUsagePrograms || record.pump >= kUsagePumps) {
        return;
    }
    const std::uint32_t t = recordTime_;
    auto inside = [t](const ShiftWindow& w) { return w.start <= t && t <= w.end; };
    const std::int8_t choice = options_.shiftChoice;
    const AmountKind kind = tables_.kinds[record.pump];
    if (choice == kNoShifts || inside(options_.shifts[0])) {
        tables_.main[record.program][record.pump].count(record.dose, kind);
    }
    if ((choice == kTwoShifts || choice == kThreeShifts) && inside(options_.shifts[1])) {
        tables_.shift2.count(record.program, record.pump, record.dose, kind);
    }
    if (choice == kThreeShifts && inside(options_.shifts[2])) {
        tables_.shift3.count(record.program, record.pump, record.dose, kind);
    }
}

void LogSearch::takeDate(const DateRecord& record) {
    recordTime_ = record.timeOfDay;
    if (const auto day = julianDay(record.date.day, record.date.month, record.date.year + 2000U)) {
        recordDay_ = *day;
        recordDate_ = record.date;
    }
    // A damaged date record keeps the day of the last good one; before any good one there is no
    // day to judge the range by, and the search goes on looking.
    if (!recordDay_) {
        return;
    }
    const std::uint32_t day = *recordDay_;
    if (day < options_.fromDay) {
        state_ = SearchState::Done;
        return;
    }
    if (state_ == SearchState::Searching && day <= options_.toDay) {
        state_ = SearchState::InRange;
        options_.reportTo = recordDate_;
        options_.reportFrom = recordDate_;
    } else if (state_ == SearchState::InRange) {
        options_.reportFrom = recordDate_;
    }
}

}  // namespace qelto::reports
