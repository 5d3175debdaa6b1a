// The simulated dongles read whatever a PC, a test or a fuzzer sends them, text commands and
// packet frames mixed. Any byte stream, cut anywhere and with pauses anywhere, must leave them
// serving without a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <tuple>
#include <vector>

#include "sim/ble_dongle_port.h"
#include "sim/rf_dongle_port.h"

namespace {

using namespace qelto::sim;

std::unique_ptr<LaundryPort> unit(std::uint32_t serial) {
    Identity identity;
    identity.serial = serial;
    return std::make_unique<LaundryPort>(LaundryUnit(factoryMemory(identity, 1234)), FaultPlan{});
}

// Feeds the bytes in pieces; a 0xFE byte ends a piece and stands for a pause on the line.
void feed(UnitPort& port, std::span<const std::uint8_t> bytes) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == 0xFE) {
            port.receive(bytes.subspan(start, i - start));
            if (port.quietWanted()) {
                port.onQuiet();
            }
            start = i + 1;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    // The first byte picks the dongle, so one corpus covers both.
    if ((data[0] & 1) == 0) {
        std::vector<RfUnit> units;
        units.push_back({3, 40, unit(1)});
        units.push_back({9, 200, unit(2)});
        RfDonglePort dongle(std::move(units), {15});
        feed(dongle, bytes);
    } else {
        // Each module is built before it is moved in: g++ 12 at -O2 takes the temporaries of
        // push_back({{"name", n}, unit(k)}) for uninitialised strings and fails the build.
        std::vector<BleModule> modules;
        for (const auto& [name, signal, serial] :
             {std::tuple{"KNW_A1", 72u, 1u}, std::tuple{"KNW_B2", 90u, 2u}}) {
            BleModule module{{name, static_cast<std::uint8_t>(signal)}, unit(serial)};
            modules.push_back(std::move(module));
        }
        BleDonglePort dongle(std::move(modules));
        feed(dongle, bytes);
    }
    return 0;
}
