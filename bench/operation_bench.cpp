// A full program read and a full program write of the busiest document there can be (every
// program, trigger and pump in use), against the simulated unit paced at 57600 baud, through the
// real serial code and the real operation driver. What an engineer waits for is the wall time;
// the counters set it against the time the bytes need on the wire and the CPU this process
// spends, so a slow operation shows whether the wire, a deliberate pause or our own code is to
// blame.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <string>

#include "comms/operation_driver.h"
#include "fixed_prompts.h"
#include "model/qelto_doc.h"
#include "platform/serial_port.h"
#include "protocol/frame.h"
#include "protocol/packet_link.h"
#include "support/sim_process.h"
#include "temp_folder.h"

namespace {

using namespace qelto;
using Clock = std::chrono::steady_clock;

constexpr unsigned kBaud = 57600;
constexpr std::uint8_t kTenPumpUnitType = 9;
constexpr std::uint16_t kPin = 1234;  // the simulator's default

// Counts the frames that crossed the line, both ways, for the wire-time floor.
class CountingPath final : public protocol::PacketPath {
  public:
    explicit CountingPath(protocol::PacketPath& inner) : inner_(inner) {}
    bool isUSB() const override { return inner_.isUSB(); }
    protocol::LinkStatus writePacket(const protocol::Packet& packet) override {
        return counted(inner_.writePacket(packet));
    }
    protocol::LinkStatus readPacket(protocol::Packet& packet) override {
        return counted(inner_.readPacket(packet));
    }
    std::uint64_t frames = 0;

  private:
    protocol::LinkStatus counted(protocol::LinkStatus status) {
        frames += status == protocol::LinkStatus::Ok ? 1 : 0;
        return status;
    }
    protocol::PacketPath& inner_;
};

double processCpuSeconds() {
    std::timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Longest names and comments, every step enabled, half the pumps dosed by volume.
void fillWorstCase(model::CQeltoDoc& doc) {
    doc.onNewDocument();
    model::CProgData& c = doc.config();
    c.unitType = kTenPumpUnitType;
    c.legacyConfig[model::lc::kUnitType] = kTenPumpUnitType;
    doc.setPumpCount(model::kPumps);
    for (std::size_t k = 0; k < model::kPumps; ++k) {
        c.pumpCalibration[k] = k % 2 == 0 ? 0 : 120;
        c.pumpName[k] = std::string(25, static_cast<char>('A' + k));
    }
    for (std::size_t p = 0; p < model::kPrograms; ++p) {
        c.progName[p] = std::string(25, static_cast<char>('a' + p));
        c.pulseCount[p].fill(2);
        for (std::size_t t = 0; t < model::kTriggers; ++t) {
            c.pumpEnabled[p][t].fill(1);
            c.programs[p][t].fill({{1, 30, 0}, {0, 10, 0}, 250});
        }
    }
    model::setText(c.customerName1, std::string(16, 'C'));
    model::setText(c.customerName2, std::string(16, 'D'));
    model::setText(c.unitDescription, std::string(16, 'E'));
    c.comments.assign(2000, 'n');  // the most a read keeps
}

// One simulated unit on the line, and everything an operation needs around it.
struct Session {
    bench::TempFolder folder;
    test::SimProcess sim{folder.path,
                         QELTO_UNITSIM_PATH,
                         {"--pace", "--baud", std::to_string(kBaud), "--unit-type",
                          std::to_string(kTenPumpUnitType)}};
    std::unique_ptr<platform::SerialPort> port;
    protocol::LinkState linkState;
    std::unique_ptr<protocol::SerialPacketPath> serial;
    std::unique_ptr<CountingPath> counting;
    std::atomic<bool> abort{false};
    std::unique_ptr<protocol::PacketLink> link;
    protocol::CommsData data;
    bench::FixedPrompts prompts;
    model::NoPumpNameDefaults pumpDefaults;
    Clock::duration paused{};

    Session() {
        std::string error;
        port = platform::SerialPort::open(sim.portPath(), kBaud, &error);
        if (!port) {
            throw std::runtime_error(error);
        }
        serial = std::make_unique<protocol::SerialPacketPath>(*port, linkState);
        counting = std::make_unique<CountingPath>(*serial);
        link = std::make_unique<protocol::PacketLink>(*counting, nullptr, abort);
        data.connection.rememberedPin = kPin;
        prompts.pin = kPin;
        // All options; the comments replace the unit's rather than grow with every iteration.
        prompts.options = comms::allOptions();
        prompts.options.bAppendComments = false;
        prompts.calibrationChoice = comms::kChooseEditorCalibration;
        prompts.yes = false;  // no verify after a write
    }

    comms::OperationContext context(model::CQeltoDoc& doc) {
        comms::OperationContext c{.doc = doc,
                                  .link = *link,
                                  .data = data,
                                  .prompts = prompts,
                                  .text = {},
                                  .refreshViews = {}};
        // The driver's deliberate pauses (keep-alives) are real, and counted apart.
        c.sleep = [this](std::chrono::milliseconds d) {
            const auto start = Clock::now();
            protocol::realSleep(d);
            paused += Clock::now() - start;
        };
        return c;
    }
};

using Operation = comms::OperationResult (*)(comms::OperationContext&, bool&);

void timeOperation(benchmark::State& state, Session& session, model::CQeltoDoc& doc,
                   Operation operation) {
    double wall = 0;
    double cpu = 0;
    std::uint64_t frames = 0;
    session.paused = {};
    for (auto _ : state) {
        const std::uint64_t framesBefore = session.counting->frames;
        const double cpuBefore = processCpuSeconds();
        const auto wallBefore = Clock::now();
        comms::OperationContext context = session.context(doc);
        bool clockOnly = false;
        const comms::OperationResult result = operation(context, clockOnly);
        wall += std::chrono::duration<double>(Clock::now() - wallBefore).count();
        cpu += processCpuSeconds() - cpuBefore;
        frames += session.counting->frames - framesBefore;
        if (result.status != comms::OperationStatus::Ok) {
            const std::string why =
                "the operation ended with message " + std::to_string(result.closingMessage);
            state.SkipWithError(why.c_str());
            break;
        }
    }
    if (state.error_occurred()) {
        return;
    }
    const double floor = static_cast<double>(frames * protocol::kFrameSize) * 10.0 / kBaud;
    const double paused = std::chrono::duration<double>(session.paused).count();
    const auto perOperation = benchmark::Counter::kAvgIterations;
    state.counters["frames"] = benchmark::Counter(static_cast<double>(frames), perOperation);
    state.counters["wall_ms"] = benchmark::Counter(wall * 1e3, perOperation);
    state.counters["floor_ms"] = benchmark::Counter(floor * 1e3, perOperation);
    state.counters["wall/floor"] = wall / floor;
    state.counters["paused_ms"] = benchmark::Counter(paused * 1e3, perOperation);
    state.counters["(wall-paused)/floor"] = (wall - paused) / floor;
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1e3, perOperation);
    state.counters["cpu/wall"] = cpu / wall;
}

void BM_FullWritePaced57600(benchmark::State& state) {
    try {
        Session session;
        model::CProgData config;
        model::CQeltoDoc doc(config, session.pumpDefaults);
        fillWorstCase(doc);
        timeOperation(state, session, doc, comms::writeProgram);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK(BM_FullWritePaced57600)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Iterations(3);

void BM_FullReadPaced57600(benchmark::State& state) {
    try {
        Session session;
        // The unit first receives the worst case through a write, untimed, so the read brings
        // back every program, trigger and pump.
        model::CProgData written;
        model::CQeltoDoc source(written, session.pumpDefaults);
        fillWorstCase(source);
        comms::OperationContext context = session.context(source);
        bool clockOnly = false;
        if (comms::writeProgram(context, clockOnly).status != comms::OperationStatus::Ok) {
            state.SkipWithError("the unit could not be given the document to read");
            return;
        }
        model::CProgData config;
        model::CQeltoDoc doc(config, session.pumpDefaults);
        doc.onNewDocument();
        timeOperation(state, session, doc, comms::readProgram);
        if (!state.error_occurred() && config.pumpEnabled != written.pumpEnabled) {
            state.SkipWithError("the read did not bring back every enabled pump");
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK(BM_FullReadPaced57600)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Iterations(3);

}  // namespace
