#include "legacy/device_info.h"

#include <fmt/format.h>

namespace qelto::legacy {
namespace {

// A version byte below '0' wraps within a byte, so a unit that sent rubbish still gets a short
// text rather than a ten-digit number.
unsigned digitValue(std::uint8_t character) {
    return static_cast<std::uint8_t>(character - '0');
}

}  // namespace

bool deviceInfoValid(const DeviceInfo& info) {
    return info[0] != kInfoNoSignOn;
}

bool VersionAtLeast(const DeviceInfo& info, char a, char b, char c) {
    if (!deviceInfoValid(info)) {
        return false;
    }
    const std::array<std::uint8_t, 3> required{
        static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(c)};
    for (std::size_t i = 0; i < required.size(); ++i) {
        if (info[i + 2] != required[i]) {
            return info[i + 2] > required[i];
        }
    }
    return true;
}

bool unitTypeBelow20(const DeviceInfo& info) {
    return deviceInfoValid(info) && info[1] < 20;
}

bool unitTypeFrom20To28(const DeviceInfo& info) {
    return deviceInfoValid(info) && info[1] >= 20 && info[1] <= 28;
}

bool unitTypeIs22Or27(const DeviceInfo& info) {
    return info[1] == 22 || info[1] == 27;
}

std::string versionText(const DeviceInfo& info) {
    return fmt::format("{}.{}{}", digitValue(info[2]), digitValue(info[3]), digitValue(info[4]));
}

bool hasUnitTexts(const DeviceInfo& info) {
    return VersionAtLeast(info, '1', '1', '0');
}

UnitNameText unitNameText(const DeviceInfo& info) {
    const std::uint8_t type = info[1];
    if (!deviceInfoValid(info)) {
        return {186, type};
    }
    if (type == kUnknownUnitType) {
        return {184, type};
    }
    if (type <= 5) {
        return {187 + type, type};
    }
    if (type <= 9) {
        return {304 + (type - 6), type};
    }
    // The later types' texts are not in the catalog; the front end names them by their code.
    return {0, type};
}

}  // namespace qelto::legacy
