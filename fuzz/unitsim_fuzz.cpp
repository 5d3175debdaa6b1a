// The simulated units and dongles read whatever a PC, a test or a fuzzer sends them, text commands
// and packet frames mixed. Any byte stream, cut anywhere and with pauses anywhere, must leave them
// serving: no crash, no unbounded growth of what they hold back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <set>
#include <span>
#include <tuple>
#include <vector>

#include "sim/ble_dongle_port.h"
#include "sim/legacy_unit.h"
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

std::unique_ptr<UnitPort> portFor(std::uint8_t choice, LegacyMemory& legacyMemory) {
    switch (choice & 3) {
        case 0:
            return std::make_unique<LaundryPort>(LaundryUnit(factoryMemory(Identity{}, 1234)),
                                                 FaultPlan{});
        case 1:
            return std::make_unique<LegacyUnit>(legacyMemory);
        case 2: {
            std::vector<RfUnit> units;
            units.push_back({3, 40, unit(1)});
            units.push_back({9, 200, unit(2)});
            return std::make_unique<RfDonglePort>(std::move(units), std::set<std::uint8_t>{15});
        }
        default: {
            // Each module is built before it is moved in: g++ 12 at -O2 takes the temporaries of
            // push_back({{"name", n}, unit(k)}) for uninitialised strings and fails the build.
            std::vector<BleModule> modules;
            for (const auto& [name, signal, serial] :
                 {std::tuple{"KNW_A1", 72u, 1u}, std::tuple{"KNW_B2", 90u, 2u}}) {
                BleModule module{{name, static_cast<std::uint8_t>(signal)}, unit(serial)};
                modules.push_back(std::move(module));
            }
            return std::make_unique<BleDonglePort>(std::move(modules));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the laundry unit, the older unit, the radio or the Bluetooth dongle, so
    // one corpus covers them all. The rest arrives in two pieces, as a serial line delivers it.
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    LegacyMemory legacyMemory;
    const auto port = portFor(data[0], legacyMemory);
    feed(*port, bytes.first(bytes.size() / 2));
    feed(*port, bytes.subspan(bytes.size() / 2));
    return 0;
}
