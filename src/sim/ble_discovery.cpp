#include "sim/ble_discovery.h"

#include <fmt/format.h>

namespace qelto::sim {

std::string discoveryReply(const std::vector<BleModuleAdvert>& modules) {
    std::string reply = "OK+DISCS\r\n";
    for (std::size_t i = 0; i < modules.size(); ++i) {
        // A made-up but stable address per position, in the vendor block the modules ship with.
        reply += fmt::format("OK+DIS{}:0CB2B7{:06X}\r\n", i, 0x000101 * (i + 1));
        reply += fmt::format("OK+RSSI:-{:03d}\r\n", modules[i].signal);
        reply += fmt::format("OK+NAME:{}\r\n", modules[i].name);
    }
    reply += "OK+DISCE\r\n";
    return reply;
}

}  // namespace qelto::sim
