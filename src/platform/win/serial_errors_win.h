// What a failed Windows call on a serial port or a HID device means to the engineer in front of
// the laptop, and what to do.
#pragma once

#include <string>
#include <string_view>

#include "platform/win/wide_text.h"

namespace qelto::platform {

// The name the user knows a port by: "COM5" for "\\.\COM5".
std::string portDisplayName(const std::string& path);

// "cannot open COM5: no such port; check that the adapter is plugged in (...)".
std::string serialOpenError(const std::string& path, unsigned long err);

// The port is held by another open of it (ours or another program's).
std::string serialBusyError(const std::string& path);

// A later step of opening (line settings, time-outs) failed.
std::string serialSetupError(const std::string& path, const std::string& step, unsigned long err);

}  // namespace qelto::platform
