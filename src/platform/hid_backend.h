// The few hidapi calls Qelto makes, behind an interface: these machines have no virtual HID
// devices, so the choice of device and the handling of reports are tested against a fake.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/hid_device.h"

namespace qelto::platform {

struct HidCandidate {
    std::string path;  // the hidraw node, as the backend opens it
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// One open device. The results follow hidapi: a byte count, 0 for a read that timed out, -1 for
// an error (a device unplugged while open reads -1).
class HidHandle {
  public:
    virtual ~HidHandle() = default;
    virtual int write(std::span<const std::uint8_t> report) = 0;
    virtual int read(std::span<std::uint8_t> report, int timeoutMs) = 0;
};

struct HidOpenResult {
    std::unique_ptr<HidHandle> handle;
    int err = 0;         // errno of the failed open, 0 when unknown
    std::string detail;  // the backend's own words, for errors without an errno
};

class HidBackend {
  public:
    virtual ~HidBackend() = default;
    // False with error filled when the HID library cannot start.
    virtual bool enumerate(std::uint16_t vendorId, std::vector<HidCandidate>& found,
                           std::string& error) = 0;
    virtual HidOpenResult open(const std::string& path) = 0;
};

// The system's HID devices: hidapi over hidraw on Linux, hid.dll and SetupAPI on Windows.
HidBackend& systemHidBackend();

// Whether a device is a unit: the unit vendor id and either product id.
bool isHidUnit(const HidCandidate& device, const HidIds& ids);

// OpenHidUnit on a given backend: the first unit that opens, in enumeration order.
std::unique_ptr<HidDevice> openHidUnitWith(HidBackend& backend, const HidIds& ids,
                                           std::string* error);

}  // namespace qelto::platform
