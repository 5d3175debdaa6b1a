#include "platform/serial_settings.h"

#include <array>
#include <utility>

namespace qelto::platform {
namespace {

constexpr std::array<std::pair<unsigned, speed_t>, 11> kRates{{
    {1200, B1200},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
    {230400, B230400},
    {460800, B460800},
    {921600, B921600},
}};

// The termios speed of each rate of kSerialBaudRates, in its order.
constexpr bool sameRates() {
    for (std::size_t i = 0; i < kRates.size(); ++i) {
        if (kRates[i].first != kSerialBaudRates[i]) {
            return false;
        }
    }
    return kRates.size() == kSerialBaudRates.size();
}
static_assert(sameRates());

constexpr tcflag_t kCheckedControlFlags = CSIZE | PARENB | CSTOPB | CRTSCTS | CREAD | CLOCAL;

}  // namespace

std::optional<speed_t> baudSpeed(unsigned baud) {
    for (const auto& [rate, speed] : kRates) {
        if (rate == baud) {
            return speed;
        }
    }
    return std::nullopt;
}

termios unitLineSettings(termios t, speed_t speed, bool ctsFlowControl) {
    ::cfmakeraw(&t);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    if (ctsFlowControl) {
        t.c_cflag |= CRTSCTS;
    }
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    return t;
}

bool lineSettingsHeld(const termios& wanted, const termios& actual) {
    return (wanted.c_cflag & kCheckedControlFlags) == (actual.c_cflag & kCheckedControlFlags) &&
           (actual.c_iflag & (IXON | IXOFF)) == 0 &&
           ::cfgetospeed(&wanted) == ::cfgetospeed(&actual) &&
           ::cfgetispeed(&wanted) == ::cfgetispeed(&actual);
}

}  // namespace qelto::platform
