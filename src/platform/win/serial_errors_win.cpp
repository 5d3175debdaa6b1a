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
    return portDisplayName(path) +
           " is in use by another program; close the program that holds it (another Qelto "
           "window, qeltoctl or a terminal program) or choose another port";
}

std::string serialSetupError(const std::string& path, const std::string& step, unsigned long err) {
    const std::string reason = knownReason(err);
    return "cannot " + step + " of " + portDisplayName(path) + ": " +
           (reason.empty() ? windowsMessage(err) : reason);
}

}  // namespace qelto::platform
