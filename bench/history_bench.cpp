// The unit history: what recording one operation costs (an entry with the configuration of a new
// document, one transaction synced to the disk), and what opening a history that already holds a
// thousand such entries costs (the damage check reads the whole file).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "logs/sqlite_history.h"
#include "model/qelto_doc.h"
#include "temp_folder.h"

namespace {

using namespace qelto;

logs::HistoryEntry typicalEntry() {
    const model::NoPumpNameDefaults names;
    model::CProgData config;
    model::CQeltoDoc doc(config, names);
    doc.onNewDocument();
    logs::HistoryEntry entry;
    entry.time = "2026-12-07T23:05:06Z";
    entry.user = "engineer";
    entry.host = "laptop-7";
    entry.operation = "write";
    entry.serial = 4711;
    entry.unitType = "L4";
    entry.unitSoftware = "3.12";
    entry.programVersion = "0.1.0";
    entry.link = "/dev/ttyUSB0";
    entry.message = "The unit was programmed.";
    entry.snapshot = doc.storeToBytes();
    return entry;
}

void BM_HistoryRecord(benchmark::State& state) {
    const bench::TempFolder folder;
    auto history = logs::SqliteHistory::open(folder.path / "history.sqlite", nullptr);
    const logs::HistoryEntry entry = typicalEntry();
    if (!history) {
        state.SkipWithError("cannot open the history");
        return;
    }
    for (auto _ : state) {
        if (!history->record(entry, nullptr)) {
            state.SkipWithError("record failed");
            break;
        }
    }
    state.counters["snapshot_bytes"] = static_cast<double>(entry.snapshot.size());
}
BENCHMARK(BM_HistoryRecord)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_HistoryOpen(benchmark::State& state) {
    const bench::TempFolder folder;
    const auto file = folder.path / "history.sqlite";
    {
        auto history = logs::SqliteHistory::open(file, nullptr);
        const logs::HistoryEntry entry = typicalEntry();
        for (std::int64_t i = 0; history && i < state.range(0); ++i) {
            history->record(entry, nullptr);
        }
    }
    for (auto _ : state) {
        auto history = logs::SqliteHistory::open(file, nullptr);
        if (!history) {
            state.SkipWithError("cannot open the history");
            break;
        }
        benchmark::DoNotOptimize(history.get());
    }
}
BENCHMARK(BM_HistoryOpen)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
