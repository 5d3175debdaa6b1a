// Finding the serial ports of the machine, with the device and sysfs roots as parameters so that
// tests can list a tree of their own.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_helpers.h"

namespace qelto::platform {

struct SerialPortRoots {
    std::filesystem::path dev = "/dev";
    std::filesystem::path sysClassTty = "/sys/class/tty";
    // Whether a UART answers behind an on-board port (the device path given).
    std::function<bool(const std::string&)> uartPresent;
};

std::vector<std::string> listSerialPortsUnder(const SerialPortRoots& roots);

// TIOCGSERIAL reports a type other than PORT_UNKNOWN. A port we may not open is listed, so the
// engineer gets the permission advice when choosing it rather than an empty list.
bool uartAnswers(const std::string& devicePath);

}  // namespace qelto::platform
