// Unit history: what Qelto did to each unit, and the configuration it read from or wrote to it.
// The front ends and the unit session see only this interface; today one SQLite file per user
// implements it (logs/sqlite_history.h), and a shared server database could later sit behind it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qelto::logs {

// How an operation ended, as the history keeps it.
enum class HistoryResult {
    Done,
    Failed,
    Cancelled,
    Differs,  // a verify that ran to the end and found differences
};

// "done", "failed", "cancelled", "differs": the words stored and printed.
std::string_view historyResultName(HistoryResult result);
std::optional<HistoryResult> historyResultFromName(std::string_view name);

struct HistoryEntry {
    std::int64_t id = 0;  // given by the store; 0 before the entry is recorded
    std::string time;     // UTC, ISO 8601: "2026-12-07T23:05:06Z"
    std::string user;
    std::string host;
    // "read", "backup", "write", "verify", "clock-get", "clock-set", "calibration", "reset",
    // "restore", "batch-write", "legacy-read", ...
    std::string operation;
    std::uint32_t serial = 0;    // 0 when no unit answered
    std::string unitType;        // the type's name, "L4"; empty when unknown
    std::string unitSoftware;    // the unit's software version, as it reported it
    std::string programVersion;  // the Qelto that did it, "0.1.0"
    std::string link;            // "/dev/ttyUSB0", "USB", "/dev/ttyUSB0, RF channel 9"
    HistoryResult result = HistoryResult::Done;
    std::string message;  // the closing message the engineer was shown
    // The configuration read (a read, a backup) or written (a write, a restore), as the bytes of
    // a saved document; empty when the operation has none.
    std::vector<std::uint8_t> snapshot;
    bool hasSnapshot = false;  // set by list(), which leaves the bytes out
};

struct HistoryQuery {
    std::optional<std::uint32_t> serial;  // only this unit's entries
    std::size_t limit = 0;                // the newest this many; 0 for all
};

class UnitHistory {
  public:
    virtual ~UnitHistory() = default;

    // Records the entry (its id and hasSnapshot are ignored); the new id, or nullopt with the
    // reason in *error. Never throws.
    virtual std::optional<std::int64_t> record(const HistoryEntry& entry, std::string* error) = 0;

    // The entries, newest first, without their snapshot bytes; empty with the reason in *error
    // when the history cannot be read.
    virtual std::vector<HistoryEntry> list(const HistoryQuery& query, std::string* error) = 0;

    // One entry with its snapshot; nullopt when there is none with that id (error left empty)
    // or it cannot be read (the reason in *error).
    virtual std::optional<HistoryEntry> entry(std::int64_t id, std::string* error) = 0;

    // The newest entry older than id, for the same unit, that has a snapshot; nullopt when none.
    virtual std::optional<HistoryEntry> previousSnapshot(std::int64_t id, std::string* error) = 0;
};

}  // namespace qelto::logs
