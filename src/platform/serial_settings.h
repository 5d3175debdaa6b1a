// The line settings units need, as termios flags.
#pragma once

#include <termios.h>

#include <optional>
#include <string>

#include "platform/serial_rates.h"

namespace qelto::platform {

// The termios speed of a standard baud rate; nullopt for any other rate.
std::optional<speed_t> baudSpeed(unsigned baud);

// Raw bytes, 8 data bits, no parity, one stop bit, no XON/XOFF, the receiver on and the modem
// status lines ignored for opening. Units wired for hardware handshake run at 9600 baud only, so
// CTS flow control follows the rate. Reads never block in the kernel (VMIN = VTIME = 0): every
// wait is a poll with the caller's time-out.
termios unitLineSettings(termios current, speed_t speed, bool ctsFlowControl);

// Whether the settings a port reports back carry what unitLineSettings asked for; a driver may
// accept tcsetattr yet drop a flag it cannot do.
bool lineSettingsHeld(const termios& wanted, const termios& actual);

}  // namespace qelto::platform
