#include "comms/device_table.h"

#include <algorithm>
#include <cstdio>

namespace qelto::comms {

std::string listSuffix(const DeviceEntry& entry) {
    if (isRadioLink(entry.linkType)) {
        char text[32];
        std::snprintf(text, sizeof text, " : (RF Ch%02u SS%03u)", unsigned{entry.rfChannel},
                      unsigned{entry.signal});
        return text;
    }
    if (entry.linkType == LinkType::Serial) {
        return " : (RS232/BT)";
    }
    return " : (USB)";
}

std::size_t DeviceTable::count() const {
    return static_cast<std::size_t>(std::count_if(
        entries_.begin(), entries_.end(), [](const DeviceEntry& e) { return e.valid == 1; }));
}

std::vector<std::string> DeviceTable::listLines() const {
    std::vector<std::string> lines;
    const std::size_t shown = count();
    for (std::size_t i = 0; i < shown; ++i) {
        lines.push_back(entries_[i].label + listSuffix(entries_[i]));
    }
    return lines;
}

}  // namespace qelto::comms
