// What a failed serial-port call means to the engineer in front of the laptop, and what to do.
#pragma once

#include <string>

namespace qelto::platform {

// "cannot open /dev/ttyUSB0: permission denied; add your user to the dialout group (...)".
std::string serialOpenError(const std::string& path, int err);

// The port is held by another open of it (ours or another program's).
std::string serialBusyError(const std::string& path);

// A later step of opening (line settings, modem lines) failed.
std::string serialSetupError(const std::string& path, const std::string& step, int err);

}  // namespace qelto::platform
