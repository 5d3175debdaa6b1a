#include "comms/history_recorder.h"

#include <chrono>
#include <ctime>
#include <utility>

#include "comms/software_version.h"
#include "model/unit_types.h"
#include "platform/calendar_time.h"
#include "platform/machine_identity.h"

namespace qelto::comms {

HistoryRecorder::HistoryRecorder(std::unique_ptr<UnitHistory> history, std::string programVersion,
                                 std::function<void(const std::string&)> warn,
                                 std::string openNotice)
    : history_(std::move(history)),
      programVersion_(std::move(programVersion)),
      warn_(std::move(warn)),
      openNotice_(std::move(openNotice)),
      user_(platform::userName()),
      host_(platform::hostName()) {}

std::optional<std::int64_t> HistoryRecorder::record(HistoryEntry entry) {
    if (!openNotice_.empty() && warn_) {
        // Said once, whether it explains a missing history or a new one.
        warn_(std::exchange(openNotice_, {}));
        warned_ = !history_;
    }
    if (!history_) {
        return std::nullopt;
    }
    entry.time = historyTimeNow();
    entry.user = user_;
    entry.host = host_;
    entry.programVersion = programVersion_;
    std::string error;
    const auto id = history_->record(entry, &error);
    if (!id) {
        warnOnce(error);
    }
    return id;
}

void HistoryRecorder::warnOnce(const std::string& reason) {
    if (warned_ || !warn_) {
        return;
    }
    warned_ = true;
    warn_(reason);
}

HistoryEntry historyEntryFor(const std::string& operation, const protocol::UnitIdentity& unit,
                             const std::string& where, HistoryResult result, std::string message) {
    HistoryEntry entry;
    entry.operation = operation;
    entry.serial = unit.serial;
    if (unit.serial != 0) {
        entry.unitType = model::unitModelName(unit.unitTypeIndex);
        entry.unitSoftware = softwareVersionText(unit.version);
    }
    entry.link = where;
    entry.result = result;
    entry.message = std::move(message);
    return entry;
}

HistoryResult historyResultOf(const OperationResult& result) {
    switch (result.status) {
        case OperationStatus::Ok:
            return result.verified == false ? HistoryResult::Differs : HistoryResult::Done;
        case OperationStatus::Failed:
            return result.verified == false && result.notCompared.empty() ? HistoryResult::Differs
                                                                          : HistoryResult::Failed;
        case OperationStatus::Cancelled:
            return HistoryResult::Cancelled;
    }
    return HistoryResult::Failed;
}

std::string historyTimeNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    platform::utcTime(now, utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

}  // namespace qelto::comms
