// The older units' link through the real serial code (9600 baud, real frames) against the
// simulated older units: the sign-on, with and without the unit's information. The operations
// (the password, what a 1.10 unit takes beyond a 1.09, the usage page, the text dump, the spare
// byte and a missing port) go through the same code in qeltoctl legacy's tests.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <thread>

#include "legacy/command_frame.h"
#include "legacy/legacy_link.h"
#include "platform/serial_port.h"
#include "support/sim_process.h"
#include "support/test_env.h"

namespace qelto {
namespace {

using namespace std::chrono_literals;
using legacy::LegacyResult;
using nlohmann::json;

std::unique_ptr<platform::ByteLink> openSerial(const std::string& name, unsigned baud,
                                               std::string* error) {
    return platform::SerialPort::open(name, baud, error);
}

struct LegacySim {
    std::unique_ptr<test::SimProcess> sim;
    std::vector<std::chrono::milliseconds> pauses;
    // Only the long breaths before a text command and after an end packet are taken for real: a
    // sign-on follows them and purges the port, and bytes still on their way would be lost.
    legacy::LegacyLink link{openSerial, 500ms, [this](std::chrono::milliseconds pause) {
                                pauses.push_back(pause);
                                if (pause >= 250ms) {
                                    std::this_thread::sleep_for(pause);
                                }
                            }};

    LegacySim(const std::string& kind, const json& memory, std::vector<std::string> options = {}) {
        options.insert(options.begin(), {"--kind", kind});
        sim = test::SimProcess::withMemory(test::testDir(), QELTO_UNITSIM_PATH, memory, options);
        link.setPortName(sim->portPath());
    }
};

TEST(LegacyLinkAgainstSimulator, SignOnReadsTheDeviceInformationOrPausesWithoutIt) {
    LegacySim s("legacy-laundry", {{"version", "1.1.0"}}, {"--unit-type", "2"});
    ASSERT_EQ(s.link.SignOn(), LegacyResult::Ok);
    const legacy::DeviceInfo& info = s.link.deviceInfo();
    EXPECT_EQ(info[0], 4);
    EXPECT_EQ(info[1], 2);
    EXPECT_EQ(legacy::versionText(info), "1.10");
    EXPECT_TRUE(legacy::VersionAtLeast(info, '1', '1', '0'));
    EXPECT_FALSE(legacy::VersionAtLeast(info, '1', '2', '0'));

    LegacySim none("legacy-laundry", json::object(), {"--version", "none"});
    ASSERT_EQ(none.link.SignOn(), LegacyResult::Ok);
    EXPECT_EQ(none.link.deviceInfo(), (legacy::DeviceInfo{1, 0xFF, 0, 0, 0}));
    EXPECT_NE(std::find(none.pauses.begin(), none.pauses.end(), 1000ms), none.pauses.end());
}

}  // namespace
}  // namespace qelto
