#include "platform/serial_errors.h"

#include <cerrno>
#include <cstring>

namespace qelto::platform {
namespace {

std::string reason(int err) {
    switch (err) {
        case ENOENT:
            return "no such port; is the adapter plugged in? `qeltoctl ports` lists the ports "
                   "present";
        case EACCES:
        case EPERM:
            return "permission denied; add your user to the dialout group (sudo usermod -aG "
                   "dialout $USER, then log in again)";
        case ENOTTY:
            return "it is not a serial port; choose one that `qeltoctl ports` lists";
        case EISDIR:
            return "it is a folder, not a serial port; choose one that `qeltoctl ports` lists";
        // A ttyS slot without a UART, or an adapter unplugged between listing and opening.
        case ENXIO:
        case ENODEV:
            return "no device answers on this port; is the adapter plugged in? `qeltoctl ports` "
                   "lists the ports present";
        case EIO:
            return "input/output error; unplug the adapter, plug it in again and retry";
        default:
            return std::strerror(err);
    }
}

}  // namespace

std::string serialOpenError(const std::string& path, int err) {
    if (err == EBUSY || err == EWOULDBLOCK) {
        return serialBusyError(path);
    }
    return "cannot open " + path + ": " + reason(err);
}

std::string serialBusyError(const std::string& path) {
    return "cannot open " + path +
           ": the port is in use by another program; close the program that holds it (another "
           "Qelto window, qeltoctl or a terminal program) and try again";
}

std::string serialSetupError(const std::string& path, const std::string& step, int err) {
    return "cannot " + step + " of " + path + ": " + reason(err);
}

}  // namespace qelto::platform
