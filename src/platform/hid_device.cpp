// The unit's HID interface through hidapi on hidraw.
#include "platform/hid_device.h"

#include <hidapi.h>
#include <unistd.h>

#include <cerrno>
#include <cwchar>
#include <mutex>

#include "platform/hid_backend.h"

namespace qelto::platform {
namespace {

// hidapi speaks wide strings; its messages are ASCII in practice, anything else becomes '?'.
std::string narrow(const wchar_t* text) {
    std::string out;
    for (; text != nullptr && *text != L'\0'; ++text) {
        out += (*text >= 0 && *text < 0x80) ? static_cast<char>(*text) : '?';
    }
    return out;
}

class HidapiHandle final : public HidHandle {
  public:
    explicit HidapiHandle(hid_device* device) : device_(device) {}
    ~HidapiHandle() override { hid_close(device_); }
    HidapiHandle(const HidapiHandle&) = delete;
    HidapiHandle& operator=(const HidapiHandle&) = delete;

    int write(std::span<const std::uint8_t> report) override {
        return hid_write(device_, report.data(), report.size());
    }

    int read(std::span<std::uint8_t> report, int timeoutMs) override {
        return hid_read_timeout(device_, report.data(), report.size(), timeoutMs);
    }

  private:
    hid_device* device_;
};

class HidapiBackend final : public HidBackend {
  public:
    bool enumerate(std::uint16_t vendorId, std::vector<HidCandidate>& found,
                   std::string& error) override {
        if (!started(error)) {
            return false;
        }
        hid_device_info* list = hid_enumerate(vendorId, 0);
        for (const hid_device_info* d = list; d != nullptr; d = d->next) {
            found.push_back({d->path != nullptr ? d->path : "", d->vendor_id, d->product_id});
        }
        hid_free_enumeration(list);
        return true;
    }

    HidOpenResult open(const std::string& path) override {
        HidOpenResult result;
        if (hid_device* device = hid_open_path(path.c_str())) {
            result.handle = std::make_unique<HidapiHandle>(device);
            return result;
        }
        // hidapi keeps only a text; errno may have been overwritten while it built it, so ask
        // the node itself why it refuses us.
        result.detail = narrow(hid_error(nullptr));
        if (::access(path.c_str(), R_OK | W_OK) != 0) {
            result.err = errno;
        }
        return result;
    }

  private:
    bool started(std::string& error) {
        std::call_once(once_, [this] {
            if (hid_init() != 0) {
                initError_ = narrow(hid_error(nullptr));
                if (initError_.empty()) {
                    initError_ = "the HID library did not start";
                }
            }
        });
        error = initError_;
        return initError_.empty();
    }

    std::once_flag once_;
    std::string initError_;
};

}  // namespace

HidBackend& systemHidBackend() {
    static HidapiBackend backend;
    return backend;
}

std::unique_ptr<HidDevice> OpenHidUnit(const HidIds& ids, std::string* error) {
    return openHidUnitWith(systemHidBackend(), ids, error);
}

}  // namespace qelto::platform
