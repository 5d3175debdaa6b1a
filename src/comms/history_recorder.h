// Writes the unit history for the unit session: one entry per operation on a unit, with the
// configuration read or written where the operation has one. The history is never in the way:
// when it cannot be opened or written, the engineer is warned once and the unit work goes on.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "comms/operation_driver.h"
#include "logs/unit_history.h"
#include "protocol/packet_catalogue_commands.h"

namespace qelto::comms {

using logs::HistoryEntry;
using logs::HistoryQuery;
using logs::HistoryResult;
using logs::UnitHistory;

// How the session records one operation; an empty name records nothing.
struct HistoryRecording {
    std::string operation = {};  // "read", "write", "verify", "clock-set", ...
    // The document after the operation: the configuration read (kept only when the read went
    // through, since a part-read document is no unit's) or written (kept whatever happened).
    enum class Snapshot { None, WhenDone, Always } snapshot = Snapshot::None;
    // A write: read the whole unit first and record it as an entry of its own, "backup", so the
    // configuration the write replaces can be brought back.
    bool backupFirst = false;
};

class HistoryRecorder {
  public:
    // warn shows a failure of the history once; later ones are not repeated. openNotice is what
    // opening the history had to say (why it could not be opened, or where a damaged file was
    // moved); it is shown through warn when the first entry is recorded, so the engineer hears
    // of it with the operation it concerns, not when the program starts.
    HistoryRecorder(std::unique_ptr<UnitHistory> history, std::string programVersion,
                    std::function<void(const std::string&)> warn, std::string openNotice = {});

    bool available() const { return history_ != nullptr; }
    UnitHistory* history() const { return history_.get(); }

    // Fills in time, user, host and the program's version, and records the entry; its id, or
    // nullopt (warned, once) when there is no history or it failed.
    std::optional<std::int64_t> record(HistoryEntry entry);

    // Tells the engineer once that the history failed; the reason names the file.
    void warnOnce(const std::string& reason);

  private:
    std::unique_ptr<UnitHistory> history_;
    std::string programVersion_;
    std::function<void(const std::string&)> warn_;
    bool warned_ = false;
    std::string openNotice_;
    std::string user_;
    std::string host_;
};

// The entry of an operation on the unit that answered: who, where and how it ended. message is
// the closing message as the engineer read it.
HistoryEntry historyEntryFor(const std::string& operation, const protocol::UnitIdentity& unit,
                             const std::string& where, HistoryResult result, std::string message);

// done, failed, cancelled, or differs for a verify that found differences.
HistoryResult historyResultOf(const OperationResult& result);

// "2026-12-07T23:05:06Z"
std::string historyTimeNow();

}  // namespace qelto::comms
