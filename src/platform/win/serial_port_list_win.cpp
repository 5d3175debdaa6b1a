// The COM ports present, as Windows keeps them in the registry: every serial driver (the
// on-board UART, usbser, FTDI, Prolific, CH340...) enters its ports under SERIALCOMM while the
// device is there and removes them when it goes.
#include <windows.h>

#include <algorithm>
#include <set>

#include "platform/serial_port.h"
#include "platform/serial_port_list.h"
#include "platform/text_helpers.h"
#include "platform/win/serial_errors_win.h"

namespace qelto::platform {
namespace {

class KeyGuard {
  public:
    explicit KeyGuard(HKEY key) : key_(key) {}
    ~KeyGuard() { ::RegCloseKey(key_); }
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;

  private:
    HKEY key_;
};

}  // namespace

std::vector<std::string> listSerialPorts() {
    HKEY key = nullptr;
    // The key exists only once a serial driver has registered a port: no key, no ports.
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &key) != ERROR_SUCCESS) {
        return {};
    }
    const KeyGuard guard(key);
    DWORD maxName = 0;
    DWORD maxData = 0;
    if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           &maxName, &maxData, nullptr, nullptr) != ERROR_SUCCESS) {
        return {};
    }
    // The value names are driver device names (\Device\Serial0); the data is the port's name.
    std::wstring name(maxName + 1, L'\0');
    std::vector<wchar_t> data(maxData / sizeof(wchar_t) + 1, L'\0');
    std::set<std::string> ports;
    for (DWORD index = 0;; ++index) {
        auto nameLength = static_cast<DWORD>(name.size());
        auto dataBytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        DWORD type = 0;
        const LSTATUS status = ::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                                               reinterpret_cast<BYTE*>(data.data()), &dataBytes);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (status != ERROR_SUCCESS || type != REG_SZ) {
            continue;
        }
        // Registry strings need not end in a NUL, and may end in several.
        std::wstring_view port(data.data(), dataBytes / sizeof(wchar_t));
        port = port.substr(0, port.find(L'\0'));
        if (!port.empty()) {
            ports.insert(wideToUtf8(port));
        }
    }
    std::vector<std::string> sorted(ports.begin(), ports.end());
    std::sort(sorted.begin(), sorted.end(),
              [](const std::string& a, const std::string& b) { return naturalLess(a, b); });
    return sorted;
}

}  // namespace qelto::platform
