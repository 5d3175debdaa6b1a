// The legacy serial link (real serial port at 9600 baud, real frames) against the simulated
// older units.
#include <gtest/gtest.h>

#include "legacy/command_frame.h"
#include "legacy/legacy_link.h"
#include "platform/serial_port.h"
#include "support/sim_process.h"
#include "support/test_env.h"

namespace qelto {
namespace {

using namespace std::chrono_literals;
using legacy::LegacyResult;

struct LegacySim {
    test::SimProcess sim;
    std::vector<std::chrono::milliseconds> pauses;
    legacy::LegacyLink link;

    explicit LegacySim(std::vector<std::string> options)
        : sim(test::testDir(), QELTO_UNITSIM_PATH, options),
          link(
              [](const std::string& name, unsigned baud,
                 std::string* error) -> std::unique_ptr<platform::ByteLink> {
                  return platform::SerialPort::open(name, baud, error);
              },
              500ms, [this](std::chrono::milliseconds d) { pauses.push_back(d); }) {
        link.setPortName(sim.portPath());
    }
};

TEST(LegacyLinkAgainstSimulator, SignOnReadsTheDeviceInformation) {
    LegacySim s({"--kind", "legacy-laundry", "--version", "1.1.0", "--unit-type", "2"});
    ASSERT_EQ(s.link.SignOn(), LegacyResult::Ok);
    const legacy::DeviceInfo& info = s.link.deviceInfo();
    EXPECT_EQ(info[0], 4);
    EXPECT_EQ(info[1], 2);
    EXPECT_EQ(legacy::versionText(info), "1.10");
    EXPECT_TRUE(legacy::VersionAtLeast(info, '1', '1', '0'));
    EXPECT_FALSE(legacy::VersionAtLeast(info, '1', '2', '0'));
}

TEST(LegacyLinkAgainstSimulator, AUnitWithoutInformationSignsOnAfterAPause) {
    LegacySim s({"--kind", "legacy-laundry", "--version", "none"});
    ASSERT_EQ(s.link.SignOn(), LegacyResult::Ok);
    EXPECT_EQ(s.link.deviceInfo(), (legacy::DeviceInfo{1, 0xFF, 0, 0, 0}));
    EXPECT_NE(std::find(s.pauses.begin(), s.pauses.end(), 1000ms), s.pauses.end());
}

TEST(LegacyLinkAgainstSimulator, ThePasswordDecidesWhetherACommandIsTaken) {
    LegacySim s({"--kind", "legacy-laundry", "--version", "1.1.0", "--pin", "4321"});
    EXPECT_EQ(s.link.SendCommand(legacy::kCmdReadConfig, 1234), LegacyResult::PasswordRefused);
    EXPECT_EQ(s.link.SendCommand(legacy::kCmdReadConfig, 4321), LegacyResult::Ok);
}

TEST(LegacyLinkAgainstSimulator, AMissingPortIsReportedWithItsReason) {
    legacy::LegacyLink link([](const std::string& name, unsigned baud,
                               std::string* error) -> std::unique_ptr<platform::ByteLink> {
        return platform::SerialPort::open(name, baud, error);
    });
    link.setPortName((test::testDir() / "ttyNone").string());
    EXPECT_EQ(link.SignOn(), LegacyResult::PortUnavailable);
    EXPECT_NE(link.openError().find("ttyNone"), std::string::npos) << link.openError();
}

}  // namespace
}  // namespace qelto
