#include "platform/win/serial_errors_win.h"

#include <windows.h>

#include <climits>

namespace qelto::platform {
namespace {

constexpr std::string_view kDevicePrefix = "\\\\.\\";

bool isComName(std::string_view name) {
    if (name.size() < 4 || (name[0] != 'C' && name[0] != 'c') ||
        (name[1] != 'O' && name[1] != 'o') || (name[2] != 'M' && name[2] != 'm')) {
        return false;
    }
    for (const char c : name.substr(3)) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// Reasons shared by opening and the later steps; empty when the system's own words say it best.
std::string knownReason(unsigned long err) {
    switch (err) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
            return "no such port; check that the adapter is plugged in and find its COM port in "
                   "Device Manager under Ports (COM & LPT), or run `qeltoctl ports`";
        // A USB adapter unplugged between listing and opening, or a driver that lost its device.
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_GEN_FAILURE:
        case ERROR_BAD_COMMAND:
        case ERROR_NOT_READY:
            return "no device answers on this port; unplug the adapter, plug it in again and "
                   "retry";
        // Serial-port requests sent to a device that is not a serial port.
        case ERROR_INVALID_FUNCTION:
        case ERROR_NOT_SUPPORTED:
            return "it is not a serial port; choose one that `qeltoctl ports` lists";
        default:
            return {};
    }
}

}  // namespace

std::wstring utf8ToWide(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(utf8.size());
    const int count = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (count <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), count);
    return wide;
}

std::string wideToUtf8(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(wide.size());
    const int count =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (count <= 0) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(count), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), count, nullptr, nullptr);
    return utf8;
}

std::string windowsMessage(unsigned long err) {
    wchar_t* buffer = nullptr;
    // With ALLOCATE_BUFFER the buffer argument is really a wchar_t**; that is the API's design.
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, err, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer != nullptr ? std::wstring(buffer, length) : L"";
    if (buffer != nullptr) {
        ::LocalFree(buffer);
    }
    // The system's sentences end in ".\r\n"; ours continue after them.
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.pop_back();
    }
    const std::string code = "error " + std::to_string(err);
    return text.empty() ? "system " + code : wideToUtf8(text) + " (" + code + ")";
}

std::string portDisplayName(const std::string& path) {
    if (path.size() > kDevicePrefix.size() &&
        path.compare(0, kDevicePrefix.size(), kDevicePrefix) == 0) {
        return path.substr(kDevicePrefix.size());
    }
    return path;
}

std::string serialOpenError(const std::string& path, unsigned long err) {
    const std::string name = portDisplayName(path);
    // A COM port is opened exclusively, so Windows refuses a second open as access denied
    // (some drivers say sharing violation): someone else holds it.
    if (err == ERROR_SHARING_VIOLATION || (err == ERROR_ACCESS_DENIED && isComName(name))) {
        return serialBusyError(path);
    }
    if (err == ERROR_ACCESS_DENIED) {
        return "cannot open " + name +
               ": access denied; Windows does not let this account open the device. Choose a COM "
               "port that `qeltoctl ports` lists";
    }
    const std::string reason = knownReason(err);
    return "cannot open " + name + ": " + (reason.empty() ? windowsMessage(err) : reason);
}

std::string serialBusyError(const std::string& path) {
    return "cannot open " + portDisplayName(path) +
           ": the port is in use by another program; close the program that holds it (another "
           "Qelto window, qeltoctl or a terminal program) or choose another port";
}

std::string serialSetupError(const std::string& path, const std::string& step, unsigned long err) {
    const std::string reason = knownReason(err);
    return "cannot " + step + " of " + portDisplayName(path) + ": " +
           (reason.empty() ? windowsMessage(err) : reason);
}

}  // namespace qelto::platform
