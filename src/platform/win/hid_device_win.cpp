// The unit's HID interface on Windows: SetupAPI finds the HID device interfaces, hid.dll says
// whose they are, and the reports move with overlapped ReadFile/WriteFile so that no wait is
// unbounded. The results follow hidapi's, which the layer above was written against.
#include <windows.h>
// windows.h first: these two use its types without including it. mingw-w64's hid headers
// declare the hid.dll functions without C linkage, which would look for C++ names.
extern "C" {
#include <hidsdi.h>
}
#include <setupapi.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <vector>

#include "platform/hid_backend.h"
#include "platform/win/handle_guard.h"
#include "platform/win/serial_errors_win.h"

namespace qelto::platform {
namespace {

// hidapi's bound on a write: a unit that stops taking reports must not hang the program.
constexpr DWORD kWriteTimeoutMs = 1000;

class DeviceListGuard {
  public:
    explicit DeviceListGuard(HDEVINFO list) : list_(list) {}
    ~DeviceListGuard() { ::SetupDiDestroyDeviceInfoList(list_); }
    DeviceListGuard(const DeviceListGuard&) = delete;
    DeviceListGuard& operator=(const DeviceListGuard&) = delete;

  private:
    HDEVINFO list_;
};

// The report lengths the device declares, report number included. Windows refuses a read or
// write buffer of any other length.
struct ReportLengths {
    USHORT input = 0;
    USHORT output = 0;
};

ReportLengths reportLengths(HANDLE device) {
    ReportLengths lengths;
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (::HidD_GetPreparsedData(device, &preparsed)) {
        HIDP_CAPS caps{};
        if (::HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS) {
            lengths.input = caps.InputReportByteLength;
            lengths.output = caps.OutputReportByteLength;
        }
        ::HidD_FreePreparsedData(preparsed);
    }
    return lengths;
}

class WinHidHandle final : public HidHandle {
  public:
    WinHidHandle(HANDLE device, HANDLE readDone, HANDLE writeDone, ReportLengths lengths)
        : device_(device), readEvent_(readDone), writeEvent_(writeDone), lengths_(lengths) {}
    ~WinHidHandle() override {
        ::CloseHandle(device_);
        ::CloseHandle(readEvent_);
        ::CloseHandle(writeEvent_);
    }
    WinHidHandle(const WinHidHandle&) = delete;
    WinHidHandle& operator=(const WinHidHandle&) = delete;

    int write(std::span<const std::uint8_t> report) override {
        // The report number travels in the first byte, as with hidapi; a device declaring a
        // longer report gets zeros after ours.
        std::vector<std::uint8_t> buffer(std::max<std::size_t>(report.size(), lengths_.output));
        std::copy(report.begin(), report.end(), buffer.begin());
        const DWORD moved = transfer(writeEvent_, kWriteTimeoutMs, [&](OVERLAPPED* ov) {
            return ::WriteFile(device_, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr,
                               ov);
        });
        if (moved == kFailed || moved < report.size()) {
            return -1;
        }
        return static_cast<int>(report.size());
    }

    int read(std::span<std::uint8_t> report, int timeoutMs) override {
        // Windows hands over the report number in front; hidapi drops a 0 there, and so do we.
        std::vector<std::uint8_t> buffer(std::max<std::size_t>(report.size() + 1, lengths_.input));
        const DWORD wait = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
        const DWORD moved = transfer(readEvent_, wait, [&](OVERLAPPED* ov) {
            return ::ReadFile(device_, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr,
                              ov);
        });
        if (moved == kFailed) {
            return -1;
        }
        if (moved == 0) {
            return 0;
        }
        const std::size_t skip = buffer[0] == 0 ? 1 : 0;
        const std::size_t count = std::min<std::size_t>(moved - skip, report.size());
        std::copy_n(buffer.begin() + static_cast<std::ptrdiff_t>(skip), count, report.begin());
        return static_cast<int>(count);
    }

  private:
    static constexpr DWORD kFailed = MAXDWORD;

    // Starts an overlapped transfer and waits for it at most waitMs. On a time-out the transfer
    // is cancelled and awaited, since the buffer belongs to the caller; a report that completed
    // in that instant still counts. Returns the bytes moved (0 on a time-out) or kFailed.
    template <typename Start>
    DWORD transfer(HANDLE event, DWORD waitMs, Start start) {
        OVERLAPPED ov{};
        ov.hEvent = event;
        if (!start(&ov) && ::GetLastError() != ERROR_IO_PENDING) {
            return kFailed;
        }
        const DWORD waited = ::WaitForSingleObject(event, waitMs);
        if (waited != WAIT_OBJECT_0) {
            ::CancelIoEx(device_, &ov);
        }
        DWORD moved = 0;
        if (::GetOverlappedResult(device_, &ov, &moved, TRUE)) {
            return moved;
        }
        return ::GetLastError() == ERROR_OPERATION_ABORTED && waited == WAIT_TIMEOUT ? 0 : kFailed;
    }

    HANDLE device_;
    HANDLE readEvent_;
    HANDLE writeEvent_;
    ReportLengths lengths_;
};

// The device path of one HID interface, or empty when SetupAPI cannot say.
std::wstring interfacePath(HDEVINFO list, SP_DEVICE_INTERFACE_DATA& interfaceData) {
    DWORD size = 0;
    ::SetupDiGetDeviceInterfaceDetailW(list, &interfaceData, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
        return {};
    }
    // Storage aligned for the structure, which SetupAPI fills to the size it asked for.
    std::vector<SP_DEVICE_INTERFACE_DETAIL_DATA_W> storage(
        size / sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) + 1);
    auto* detail = storage.data();
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!::SetupDiGetDeviceInterfaceDetailW(list, &interfaceData, detail, size, nullptr, nullptr)) {
        return {};
    }
    return detail->DevicePath;
}

class WinHidBackend final : public HidBackend {
  public:
    bool enumerate(std::uint16_t vendorId, std::vector<HidCandidate>& found,
                   std::string& error) override {
        GUID hidClass{};
        ::HidD_GetHidGuid(&hidClass);
        HDEVINFO list = ::SetupDiGetClassDevsW(&hidClass, nullptr, nullptr,
                                               DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        if (list == INVALID_HANDLE_VALUE) {
            error = "Windows cannot list the HID devices: " + windowsMessage(::GetLastError());
            return false;
        }
        const DeviceListGuard guard(list);
        for (DWORD index = 0;; ++index) {
            SP_DEVICE_INTERFACE_DATA interfaceData{};
            interfaceData.cbSize = sizeof(interfaceData);
            if (!::SetupDiEnumDeviceInterfaces(list, nullptr, &hidClass, index, &interfaceData)) {
                break;
            }
            const std::wstring path = interfacePath(list, interfaceData);
            if (path.empty()) {
                continue;
            }
            // No access asked: keyboards and mice, which Windows keeps for itself, still tell
            // who made them.
            const HandleGuard device(::CreateFileW(path.c_str(), 0,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                   OPEN_EXISTING, 0, nullptr));
            if (device.get() == INVALID_HANDLE_VALUE) {
                continue;
            }
            HIDD_ATTRIBUTES attributes{};
            attributes.Size = sizeof(attributes);
            if (!::HidD_GetAttributes(device.get(), &attributes)) {
                continue;
            }
            // hidapi's convention: vendor id 0 means every device.
            if (vendorId == 0 || attributes.VendorID == vendorId) {
                found.push_back({wideToUtf8(path), attributes.VendorID, attributes.ProductID});
            }
        }
        return true;
    }

    HidOpenResult open(const std::string& path) override {
        HidOpenResult result;
        HandleGuard device(::CreateFileW(utf8ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_OVERLAPPED, nullptr));
        if (device.get() == INVALID_HANDLE_VALUE) {
            fillFailure(result, ::GetLastError());
            return result;
        }
        HandleGuard readEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        HandleGuard writeEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (readEvent.get() == nullptr || writeEvent.get() == nullptr) {
            fillFailure(result, ::GetLastError());
            return result;
        }
        const ReportLengths lengths = reportLengths(device.get());
        result.handle = std::make_unique<WinHidHandle>(device.release(), readEvent.release(),
                                                       writeEvent.release(), lengths);
        return result;
    }

  private:
    // The errno codes the layer above explains in words that hold on every system; the rest
    // keep the system's message. EACCES is left out on purpose: its advice is about udev.
    static void fillFailure(HidOpenResult& result, DWORD err) {
        switch (err) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
            case ERROR_DEVICE_NOT_CONNECTED:
                result.err = ENOENT;
                break;
            case ERROR_SHARING_VIOLATION:
                result.err = EBUSY;
                break;
            default:
                break;
        }
        result.detail = windowsMessage(err);
        if (err == ERROR_ACCESS_DENIED) {
            result.detail += "; another program may hold the unit: close it and try again";
        }
    }
};

}  // namespace

HidBackend& systemHidBackend() {
    static WinHidBackend backend;
    return backend;
}

std::unique_ptr<HidDevice> OpenHidUnit(const HidIds& ids, std::string* error) {
    return openHidUnitWith(systemHidBackend(), ids, error);
}

}  // namespace qelto::platform
