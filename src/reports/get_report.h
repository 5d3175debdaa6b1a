// Reads a unit's usage into the report tables: its own counters when no date range is set, or
// its usage log searched for the range (and split into shifts) when one is.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "protocol/unit_channel.h"
#include "reports/report_options.h"
#include "reports/usage_tables.h"

namespace qelto::reports {

// A unit that never ends its log would keep a search going for ever; no unit holds more than
// this many replies' worth of words, so a search that gets this far fails instead.
inline constexpr std::uint32_t kMaxLogReplies = 1U << 16;

// Told the running number of log words decoded after every reply of a log search, so the
// caller can show "Searching Log records". Cancelling goes through the link's abort flag.
using LogProgress = std::function<void(std::uint32_t wordsRead)>;
// The status line that goes with it; a fixed text, not one of the numbered ones.
std::string logSearchStatus(std::uint32_t wordsRead);

// Clears the tables, then fills them. True when every reply was a usage report; false as soon
// as one was not (no reply, a refusal, the operator's cancel: channel.cancelled() tells), and
// the tables then hold what had arrived. In log mode options.reportTo and reportFrom are set to
// the newest and oldest dates counted.
bool GetReport(UsageTables& tables, ReportOptions& options, protocol::UnitChannel& channel,
               const LogProgress& progress = {});

}  // namespace qelto::reports
