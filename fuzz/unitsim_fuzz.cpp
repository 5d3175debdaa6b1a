// The simulated units read whatever a PC, a test or a fuzzer sends them. Any byte stream must
// leave them serving: no crash, no unbounded growth of what they hold back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "sim/laundry_port.h"
#include "sim/legacy_unit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qelto::sim;
    if (size == 0) {
        return 0;
    }
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    // The first byte picks the unit, so one corpus covers both protocols.
    if ((data[0] & 1) == 0) {
        Identity identity;
        LaundryPort port(LaundryUnit(factoryMemory(identity, 1234)), FaultPlan{});
        // Fed in two pieces, as a serial line delivers them.
        port.receive(bytes.first(bytes.size() / 2));
        port.receive(bytes.subspan(bytes.size() / 2));
    } else {
        LegacyMemory memory;
        LegacyUnit unit(memory);
        unit.receive(bytes.first(bytes.size() / 2));
        unit.receive(bytes.subspan(bytes.size() / 2));
    }
    return 0;
}
