// The Win32 serial port's refusals, as the engineer reads them. Its traffic is checked end to end
// by qeltoctl.exe against the simulated unit (wine_integration.sh).
#include <gtest/gtest.h>

#include <string>

#include "platform/serial_port.h"

namespace qelto::platform {
namespace {

TEST(WinSerialPort, RefusalsNameThePortAndWhatToDo) {
    const struct {
        const char* port;
        unsigned baud;
        const char* says;
    } cases[] = {
        {"COM97", 9600, "COM97"},
        {"COM97", 12345, "12345 baud"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(SerialPort::open(c.port, c.baud, &error), nullptr) << c.port;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace qelto::platform
