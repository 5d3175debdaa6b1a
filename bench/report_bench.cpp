// The two report steps an engineer waits on besides the line: a log search over a long usage log
// against the simulated unit without pacing (so what is measured is our side of each exchange,
// comparable with BM_PollExchange of the same run), and drawing the settings page of the busiest
// document there can be.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "model/qelto_doc.h"
#include "platform/serial_port.h"
#include "protocol/packet_link.h"
#include "protocol/unit_channel.h"
#include "reports/get_report.h"
#include "reports/julian_day.h"
#include "reports/report_pages.h"
#include "support/sim_process.h"
#include "temp_folder.h"

namespace {

using namespace qelto;

constexpr std::size_t kLogWords = 100000;

// Days of one date record and nine pump records each, oldest first, all in 2026.
nlohmann::json longLog() {
    nlohmann::json log = nlohmann::json::array();
    for (std::size_t i = 0; log.size() < kLogWords; ++i) {
        const auto day = static_cast<std::uint32_t>(1 + i % 28);
        const auto month = static_cast<std::uint32_t>(1 + i / 28 % 12);
        const std::uint32_t seconds = 8 * 3600;
        log.push_back(1U | (day << 2) | (month << 7) | (26U << 11) | ((seconds / 4) << 17));
        for (std::uint32_t k = 0; k < 9 && log.size() < kLogWords; ++k) {
            const auto program = static_cast<std::uint32_t>(1 + (k + i) % 20);
            const std::uint32_t pump = k;
            log.push_back((program << 2) | (pump << 7) | ((100 + k) << 11));
        }
    }
    return log;
}

void BM_LogSearch100kWords(benchmark::State& state) {
    const bench::TempFolder folder;
    const auto stateFile = folder.path / "unit.json";
    std::ofstream(stateFile) << nlohmann::json{{"usage", {{"log", longLog()}}}}.dump();
    test::SimProcess sim(folder.path, QELTO_UNITSIM_PATH, {"--state", stateFile.string()});
    std::string error;
    auto port = platform::SerialPort::open(sim.portPath(), 57600, &error);
    if (!port) {
        state.SkipWithError(error.c_str());
        return;
    }
    protocol::LinkState linkState;
    std::atomic<bool> abort{false};
    protocol::SerialPacketPath path(*port, linkState);
    protocol::PacketLink link(path, nullptr, abort);
    protocol::UnitChannel channel(link);

    std::uint32_t words = 0;
    double wallUs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        reports::UsageTables tables;
        reports::ReportOptions options;
        options.fromDay = *reports::julianDay(1, 1, 2026);
        options.toDay = *reports::julianDay(31, 12, 2026);
        if (!reports::GetReport(tables, options, channel,
                                [&words](std::uint32_t read) { words = read; })) {
            state.SkipWithError("the log search failed");
            break;
        }
        wallUs +=
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count();
    }
    // Seven log words come in each reply.
    const double replies = static_cast<double>((words + 6) / 7);
    state.counters["words"] = words;
    state.counters["replies"] = replies;
    state.counters["us_per_reply"] = wallUs / static_cast<double>(state.iterations()) / replies;
}
BENCHMARK(BM_LogSearch100kWords)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Every program, trigger and pump in use, the longest names, half the pumps by volume.
void fillBusiest(model::CQeltoDoc& doc) {
    doc.onNewDocument();
    model::CProgData& c = doc.config();
    c.unitType = 9;
    doc.setPumpCount(model::kPumps);
    for (std::size_t k = 0; k < model::kPumps; ++k) {
        c.pumpCalibration[k] = k % 2 == 0 ? 0 : 120;
        c.pumpName[k] = std::string(25, static_cast<char>('A' + k));
    }
    for (std::size_t p = 0; p < model::kPrograms; ++p) {
        c.progName[p] = std::string(24, static_cast<char>('a' + p)) + "<";
        c.pulseCount[p].fill(2);
        for (std::size_t t = 0; t < model::kTriggers; ++t) {
            c.pumpEnabled[p][t].fill(1);
            c.programs[p][t].fill({{1, 30, 0}, {0, 10, 0}, 250});
        }
    }
    c.comments.assign(2000, '&');
}

void BM_RenderFullSettingsReport(benchmark::State& state) {
    const model::NoPumpNameDefaults names;
    model::CProgData config;
    model::CQeltoDoc doc(config, names);
    fillBusiest(doc);
    reports::PageContext page;
    page.text = [](int id) { return "<td>text " + std::to_string(id) + "</td>"; };
    page.now = {2026, 12, 7, 10, 30, 0};
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string html = reports::renderLaundrySettings(config, 0, page);
        bytes = html.size();
        benchmark::DoNotOptimize(html.data());
    }
    state.counters["page_kB"] = static_cast<double>(bytes) / 1024.0;
}
BENCHMARK(BM_RenderFullSettingsReport)->Unit(benchmark::kMillisecond);

}  // namespace
