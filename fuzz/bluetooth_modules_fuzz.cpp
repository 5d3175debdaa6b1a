// The Bluetooth dongle's module list comes from a radio and a modem with any bytes in it. The
// parser reads at fixed distances before each name, so every input must keep those reads inside
// what arrived, and every line must keep its fixed shape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "comms/bluetooth_modules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto lines = qelto::comms::parseModuleList(std::span(data, size));
    for (const std::string& line : lines) {
        // "KNW_xy  (M -072)"
        if (line.size() != 16 || !line.starts_with(qelto::comms::kUnitModulePrefix) ||
            line.substr(6, 3) != "  (" || line.substr(10, 2) != " -" || line.back() != ')' ||
            (line[9] != 'H' && line[9] != 'M' && line[9] != 'L')) {
            std::abort();
        }
    }
    // Each line needs its own name, so there can never be more than the input could hold.
    if (lines.size() > size / 6) {
        std::abort();
    }
    return 0;
}
