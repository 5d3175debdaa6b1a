// The unit's USB HID interface: 36-byte output and input reports, the first byte the report
// number (always 0).
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/byte_link.h"

namespace qelto::platform {

inline constexpr std::size_t kHidReportBytes = 36;
using HidReportBytes = std::array<std::uint8_t, kHidReportBytes>;

// The USB identity of a unit. The defaults are Qelto's own; the settings may override them.
struct HidIds {
    std::uint16_t vendorId = 0x2F1A;
    std::uint16_t productId = 0x0301;
    std::uint16_t altProductId = 0x0302;
};

class HidDevice {
  public:
    virtual ~HidDevice() = default;
    virtual IoStatus writeReport(const HidReportBytes& report) = 0;
    // An unanswered read is bounded: a unit that never answers must not hang the program.
    virtual IoStatus readReport(HidReportBytes& report, std::chrono::milliseconds timeout) = 0;
};

// Finds the first HID device with the unit vendor id and the product id or the alternative
// product id, and opens it. Returns nullptr when none is present or none can be opened; error
// then says which (and, for a permission problem, what to do about it).
std::unique_ptr<HidDevice> OpenHidUnit(const HidIds& ids, std::string* error = nullptr);

}  // namespace qelto::platform
