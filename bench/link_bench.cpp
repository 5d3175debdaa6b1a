// Exchanges with the simulated unit over a pseudo-terminal: how many request/reply round trips a
// second the link manages, the CPU the PC side spends on each, and, with the simulator pacing
// bytes at 57600 baud, how close an exchange comes to the time its bytes need on the wire.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/serial_port.h"
#include "protocol/packet_catalogue.h"
#include "protocol/packet_link.h"
#include "support/sim_process.h"
#include "temp_folder.h"

namespace {

using namespace qelto;

void runExchanges(benchmark::State& state, const std::vector<std::string>& simOptions) {
    const bench::TempFolder folder;
    test::SimProcess sim(folder.path, QELTO_UNITSIM_PATH, simOptions);
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
    const protocol::Packet poll = protocol::makePoll(protocol::CMD_NONE);
    protocol::Packet reply;
    for (auto _ : state) {
        if (link.WriteReadPacket(poll, reply, 1) != protocol::LinkStatus::Ok) {
            state.SkipWithError("the simulator did not answer");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    // 35 bytes each way, ten bits a byte.
    state.counters["wire_floor_ms"] = 2.0 * 35 * 10 / 57600.0 * 1000.0;
}

void BM_PollExchange(benchmark::State& state) {
    runExchanges(state, {});
}
BENCHMARK(BM_PollExchange)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PollExchangePaced57600(benchmark::State& state) {
    runExchanges(state, {"--pace"});
}
BENCHMARK(BM_PollExchangePaced57600)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);

}  // namespace
