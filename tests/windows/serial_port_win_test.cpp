// The Windows serial port and HID backend's refusals, run under Wine. The port's traffic, its
// time-outs and its cancel are checked end to end by qeltoctl.exe against the simulated unit
// (wine_integration.sh).
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "platform/hid_device.h"
#include "platform/serial_port.h"
#include "platform/serial_port_list.h"
#include "platform/win/serial_errors_win.h"

namespace qelto::platform {
namespace {

using ::testing::HasSubstr;

// A missing port says where Windows shows the present ones, in the name the user typed it by;
// a file is not a port; an unsupported rate is named with the rates that work.
TEST(SerialPortWin, EachRefusalSaysWhatIsWrong) {
    const struct {
        std::string path;
        unsigned baud;
        std::vector<const char*> says;
    } rows[] = {
        {"COM250", 9600, {"cannot open COM250: no such port", "Device Manager", "qeltoctl ports"}},
        {"\\\\.\\COM250", 9600, {"cannot open COM250: no such port"}},
        {"C:\\windows\\win.ini", 9600, {"it is not a serial port"}},
        {"COM250", 9601, {"9601 baud is not a supported rate", "9600, 19200, 38400, 57600"}},
    };
    for (const auto& row : rows) {
        std::string error;
        EXPECT_EQ(SerialPort::open(row.path, row.baud, &error), nullptr) << row.path;
        for (const char* part : row.says) {
            EXPECT_THAT(error, HasSubstr(part)) << row.path;
        }
    }
}

// Wine lets a second program open a COM port, so the refusal Windows gives it is put here by hand.
TEST(SerialPortWin, APortHeldByAnotherProgramIsInUse) {
    for (const DWORD err : {DWORD{ERROR_ACCESS_DENIED}, DWORD{ERROR_SHARING_VIOLATION}}) {
        EXPECT_THAT(serialOpenError("\\\\.\\COM5", err),
                    HasSubstr("COM5 is in use by another program"));
    }
    EXPECT_THAT(serialOpenError("C:\\secret.txt", ERROR_ACCESS_DENIED),
                ::testing::Not(HasSubstr("in use")));
}

TEST(SerialPortWin, ThePortListIsInNaturalOrderWithoutRepeats) {
    const auto ports = listSerialPorts();
    EXPECT_TRUE(std::is_sorted(ports.begin(), ports.end(), naturalLess));
    EXPECT_EQ(std::adjacent_find(ports.begin(), ports.end()), ports.end());
}

TEST(HidDeviceWin, NoMatchingDeviceIsTheNoUnitCase) {
    std::string error;
    EXPECT_EQ(OpenHidUnit(HidIds{0xFFF1, 0xFFF2, 0xFFF3}, &error), nullptr);
    EXPECT_THAT(error, HasSubstr("no unit found on USB"));
}

}  // namespace
}  // namespace qelto::platform
