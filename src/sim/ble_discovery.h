// What the Bluetooth LE serial dongle sends for "AT+DISC?": a start line, three lines per module
// found (its number and address, its received signal strength, its name) and an end line:
//
//   OK+DISCS\r\n
//   OK+DIS0:0CB2B7000101\r\n
//   OK+RSSI:-072\r\n
//   OK+NAME:KNW_A1\r\n
//   ...
//   OK+DISCE\r\n
//
// The PC finds each module by its name and reads the strength back from a fixed distance before
// it: the three strength digits end eleven bytes before the name (the line break and "OK+NAME:"
// lie between), which is why the strength is always written with three digits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qelto::sim {

struct BleModuleAdvert {
    std::string name;         // printable ASCII, as the module advertises it
    std::uint8_t signal = 0;  // received strength in -dBm, 0..127
};

std::string discoveryReply(const std::vector<BleModuleAdvert>& modules);

}  // namespace qelto::sim
