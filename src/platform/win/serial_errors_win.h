// What a failed Windows call on a serial port or a HID device means to the engineer in front of
// the laptop, and what to do; and the UTF-8/UTF-16 conversions at the system boundary.
#pragma once

#include <string>
#include <string_view>

namespace qelto::platform {

// Windows speaks UTF-16; Qelto keeps UTF-8 everywhere else. Invalid input becomes U+FFFD rather
// than an empty text, so a message still names what it can.
std::wstring utf8ToWide(std::string_view utf8);
std::string wideToUtf8(std::wstring_view wide);

// The system's own sentence for a GetLastError() code, in UTF-8, with the code after it
// ("Access is denied (error 5)"). DWORD is unsigned long on Windows.
std::string windowsMessage(unsigned long err);

// The name the user knows a port by: "COM5" for "\\.\COM5".
std::string portDisplayName(const std::string& path);

// "cannot open COM5: no such port; check that the adapter is plugged in (...)".
std::string serialOpenError(const std::string& path, unsigned long err);

// The port is held by another open of it (ours or another program's).
std::string serialBusyError(const std::string& path);

// A later step of opening (line settings, time-outs) failed.
std::string serialSetupError(const std::string& path, const std::string& step, unsigned long err);

}  // namespace qelto::platform
