// Choosing and driving a unit's HID interface, above whichever backend reaches the device.
#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/hid_backend.h"

namespace qelto::platform {
namespace {

void setError(std::string* error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
}

// A unit's reports are unnumbered, so hidraw delivers an input report without the report-number
// byte that HidReportBytes keeps in front.
constexpr std::size_t kInputPayloadBytes = kHidReportBytes - 1;

class HidUnit final : public HidDevice {
  public:
    explicit HidUnit(std::unique_ptr<HidHandle> handle) : handle_(std::move(handle)) {}

    IoStatus writeReport(const HidReportBytes& report) override {
        const int n = handle_->write(report);
        return n == static_cast<int>(report.size()) ? IoStatus::Ok : IoStatus::Failed;
    }

    IoStatus readReport(HidReportBytes& report, std::chrono::milliseconds timeout) override {
        const auto ms = std::clamp<long long>(timeout.count(), 0, INT_MAX);
        HidReportBytes in{};
        const int n = handle_->read(std::span(in).subspan(1), static_cast<int>(ms));
        if (n == 0) {
            return IoStatus::TimedOut;
        }
        // A short report is not one of a unit's: its bytes would be misread as a packet.
        if (n != static_cast<int>(kInputPayloadBytes)) {
            return IoStatus::Failed;
        }
        report = in;
        return IoStatus::Ok;
    }

  private:
    std::unique_ptr<HidHandle> handle_;
};

std::string identity(const HidIds& ids) {
    return fmt::format("vendor id {:04x}, product id {:04x} or {:04x}", ids.vendorId, ids.productId,
                       ids.altProductId);
}

std::string openFailure(const HidCandidate& device, const HidOpenResult& result) {
    const std::string head = "cannot open the unit at " + device.path + ": ";
    if (result.err == EACCES || result.err == EPERM) {
        return head +
               "permission denied; hidraw devices belong to root unless a udev rule says "
               "otherwise. Install Qelto's rule (sudo cp data/udev/70-qelto.rules "
               "/etc/udev/rules.d/ && sudo udevadm control --reload-rules && sudo udevadm "
               "trigger), then unplug the unit and plug it in again";
    }
    if (result.err == ENOENT || result.err == ENODEV || result.err == ENXIO) {
        return head + "the unit went away; check the USB cable and try again";
    }
    if (result.err == EBUSY) {
        return head + "the unit is in use by another program; close it and try again";
    }
    if (result.err != 0) {
        return head + std::strerror(result.err);
    }
    return head + (result.detail.empty() ? "the HID library gave no reason" : result.detail);
}

}  // namespace

bool isHidUnit(const HidCandidate& device, const HidIds& ids) {
    return device.vendorId == ids.vendorId &&
           (device.productId == ids.productId || device.productId == ids.altProductId);
}

std::unique_ptr<HidDevice> openHidUnitWith(HidBackend& backend, const HidIds& ids,
                                           std::string* error) {
    std::vector<HidCandidate> found;
    std::string why;
    if (!backend.enumerate(ids.vendorId, found, why)) {
        setError(error, "cannot look for units on USB: " + why);
        return nullptr;
    }
    std::string firstFailure;
    for (const auto& device : found) {
        if (!isHidUnit(device, ids)) {
            continue;
        }
        HidOpenResult opened = backend.open(device.path);
        if (opened.handle) {
            return std::make_unique<HidUnit>(std::move(opened.handle));
        }
        if (firstFailure.empty()) {
            firstFailure = openFailure(device, opened);
        }
    }
    if (!firstFailure.empty()) {
        setError(error, std::move(firstFailure));
    } else {
        setError(error, "no unit found on USB (" + identity(ids) +
                            "); check that it is plugged in and switched on");
    }
    return nullptr;
}

}  // namespace qelto::platform
