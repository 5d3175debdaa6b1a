// The walk through a unit's usage log, newest word first: date records move the search through
// its states and set the time that the pump records after them (older in time) are counted at.
#pragma once

#include <cstdint>
#include <optional>

#include "reports/julian_day.h"
#include "reports/report_options.h"
#include "reports/usage_tables.h"

namespace qelto::reports {

// What one 32-bit log word says. Types 2 and 3 carry nothing a report counts.
struct PumpRecord {
    std::uint8_t program = 0;  // 0-based; the field has room for 0-31
    std::uint8_t pump = 0;     // 0-based; room for 0-15
    std::uint32_t dose = 0;    // 21 bits
};
struct DateRecord {
    ShortDate date;               // as stored; may be no date at all
    std::uint32_t timeOfDay = 0;  // seconds since midnight, in steps of 4
};

enum class LogWordType : std::uint8_t { Pump = 0, Date = 1, Other2 = 2, Other3 = 3 };
LogWordType logWordType(std::uint32_t word);
PumpRecord decodePumpRecord(std::uint32_t word);
DateRecord decodeDateRecord(std::uint32_t word);
// An erased word reads 0xFFFFFFFF, a word never written 0: either ends the log.
bool isLogEnd(std::uint32_t word);

enum class SearchState : std::uint8_t { Searching = 0, InRange = 1, Done = 2 };

class LogSearch {
  public:
    // The tables must start cleared; the search only adds to them. reportTo and reportFrom of
    // the options are replaced by the dates of the newest and oldest log entries in range.
    LogSearch(ReportOptions& options, UsageTables& tables);

    // Decodes the next word. True when the search is over and no further word is wanted.
    bool ParseLogRecord(std::uint32_t word);

    SearchState state() const { return state_; }
    std::uint32_t recordDay() const { return recordDay_.value_or(0); }
    std::uint32_t recordTime() const { return recordTime_; }

  private:
    void countPump(const PumpRecord& record);
    void takeDate(const DateRecord& record);

    ReportOptions& options_;
    UsageTables& tables_;
    SearchState state_ = SearchState::Searching;
    std::optional<std::uint32_t> recordDay_;  // none until a valid date has been read
    ShortDate recordDate_;
    std::uint32_t recordTime_ = 0;
};

}  // namespace qelto::reports
