// The line speeds a unit's serial port may be opened at, on every system.
#pragma once

#include <array>
#include <string>

namespace qelto::platform {

inline constexpr std::array<unsigned, 11> kSerialBaudRates{
    1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};

bool isSupportedBaudRate(unsigned baud);

// The rates, for messages ("1200, 2400, ...").
std::string supportedBaudRates();

}  // namespace qelto::platform
