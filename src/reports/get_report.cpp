#include "reports/get_report.h"

#include <fmt/format.h>

#include "protocol/packet_catalogue_report.h"
#include "reports/log_search.h"

namespace qelto::reports {
namespace {

using namespace protocol;

bool readTotals(UsageTable& table, UnitChannel& channel) {
    ProgressScope progress(channel.observer(), static_cast<int>(kUsageRows * kTotalsBlocks));
    for (std::size_t row = 0; row < kUsageRows; ++row) {
        // The unit numbers its programs from 1 and keeps its all-programs total as program 0.
        const auto unitProgram = static_cast<std::uint8_t>(row == kTotalsRow ? 0 : row + 1);
        for (std::uint8_t block = 0; block < kTotalsBlocks; ++block) {
            const auto reply = channel.ask(makeTotalsRequest(unitProgram, block));
            const auto totals = reply ? parseTotalsReply(*reply) : std::nullopt;
            if (!totals) {
                return false;
            }
            for (std::size_t k = 0; k < kCellsPerTotalsBlock; ++k) {
                const std::size_t pump = block * kCellsPerTotalsBlock + k;
                if (pump < kUsagePumps) {
                    const WireUsageCell& cell = totals->cells[k];
                    table[row][pump] = {cell.cycles, cell.timeHigh, cell.timeMiddle, cell.timeLow};
                }
            }
            progress.step();
        }
    }
    return true;
}

bool searchLog(UsageTables& tables, ReportOptions& options, UnitChannel& channel,
               const LogProgress& progress) {
    LogSearch search(options, tables);
    const auto toDayLow = static_cast<std::uint8_t>(options.toDay);
    std::uint32_t wordsRead = 0;
    for (std::uint32_t replies = 0; search.state() != SearchState::Done; ++replies) {
        if (replies == kMaxLogReplies) {
            return false;
        }
        const auto reply = channel.ask(makeLogRequest(replies == 0, toDayLow));
        const auto words = reply ? parseLogReply(*reply) : std::nullopt;
        if (!words) {
            return false;
        }
        for (const std::uint32_t word : *words) {
            ++wordsRead;
            if (search.ParseLogRecord(word)) {
                break;
            }
        }
        if (progress) {
            progress(wordsRead);
        }
    }
    sumTotalsRow(tables.main, tables.kinds);
    if (options.shiftChoice != kNoShifts) {
        sumTotalsRow(tables.shift2, tables.kinds);
    }
    if (options.shiftChoice == kThreeShifts) {
        sumTotalsRow(tables.shift3, tables.kinds);
    }
    return true;
}

}  // namespace

std::string logSearchStatus(std::uint32_t wordsRead) {
    return fmt::format("Searching Log records - {:08d} ", wordsRead);
}

bool GetReport(UsageTables& tables, ReportOptions& options, UnitChannel& channel,
               const LogProgress& progress) {
    const AmountKinds kinds = tables.kinds;
    tables = UsageTables{};
    tables.kinds = kinds;
    if (options.toDay == 0) {
        return readTotals(tables.main, channel);
    }
    return searchLog(tables, options, channel, progress);
}

}  // namespace qelto::reports
