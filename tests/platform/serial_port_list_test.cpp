#include "platform/serial_port_list.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_env.h"

namespace qelto::platform {
namespace {

namespace fs = std::filesystem;

TEST(SerialPortList, NamesSortByTheNumbersInThem) {
    std::vector<std::string> names{"ttyUSB10", "ttyUSB2", "ttyUSB1", "ttyACM0", "ttyUSB"};
    std::sort(names.begin(), names.end(), naturalLess);
    EXPECT_EQ(names,
              (std::vector<std::string>{"ttyACM0", "ttyUSB", "ttyUSB1", "ttyUSB2", "ttyUSB10"}));
    EXPECT_FALSE(naturalLess("ttyS3", "ttyS3"));
}

// A /dev and /sys/class/tty of the test's own making.
class SerialPortListTree : public ::testing::Test {
  protected:
    void SetUp() override {
        roots.dev = test::testDir() / "dev";
        roots.sysClassTty = test::testDir() / "sys";
        fs::create_directories(roots.dev / "serial" / "by-id");
        for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS1", "ttyS2",
                                 "tty0", "ttyUSBx", "console"}) {
            test::writeFile(roots.dev / name, "");
        }
        fs::create_symlink("../../ttyUSB2", roots.dev / "serial/by-id/usb-Adapter_B-port0");
        fs::create_symlink("../../ttyUSB10", roots.dev / "serial/by-id/usb-Adapter_A-port0");
        fs::create_symlink("../../ttyUSB5", roots.dev / "serial/by-id/usb-Unplugged-port0");
        // ttyS0 and ttyS1 have a driver, ttyS2 none; only ttyS0 has a UART answering.
        for (const char* name : {"ttyS0", "ttyS1"}) {
            fs::create_directories(roots.sysClassTty / name / "device");
            fs::create_directory_symlink("../../serial8250",
                                         roots.sysClassTty / name / "device" / "driver");
        }
        fs::create_directories(roots.sysClassTty / "serial8250");
        fs::create_directories(roots.sysClassTty / "ttyS2");
        roots.uartPresent = [this](const std::string& path) {
            asked.push_back(path);
            return path.ends_with("ttyS0");
        };
    }

    SerialPortRoots roots;
    std::vector<std::string> asked;
};

TEST_F(SerialPortListTree, StableLinksComeFirstThenAdaptersThenOnBoardPortsWithAUart) {
    const std::string dev = roots.dev.string();
    EXPECT_EQ(listSerialPortsUnder(roots),
              (std::vector<std::string>{dev + "/serial/by-id/usb-Adapter_A-port0",
                                        dev + "/serial/by-id/usb-Adapter_B-port0", dev + "/ttyUSB2",
                                        dev + "/ttyUSB10", dev + "/ttyACM0", dev + "/ttyS0"}));
    // A slot without a driver is not even opened to ask.
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<std::string>{dev + "/ttyS0", dev + "/ttyS1"}));
}

}  // namespace
}  // namespace qelto::platform
