// The older units through the real serial code (9600 baud, real frames) against the simulated
// older units: the link's sign-on, and the second charge block that only a dishwash unit of
// software 1.10 takes, which a document file does not keep (so no qeltoctl run can check it). The
// password, the names and comments a 1.10 laundry unit takes, the usage page, the text dump, the
// spare byte and a missing port go through the same operations in qeltoctl legacy's tests.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <thread>

#include "comms/legacy_context.h"
#include "comms/legacy_operations.h"
#include "comms/scripted_prompts.h"
#include "legacy/command_frame.h"
#include "platform/serial_port.h"
#include "support/sim_process.h"
#include "support/test_env.h"

namespace qelto {
namespace {

using namespace std::chrono_literals;
using comms::OperationStatus;
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
    model::NoPumpNameDefaults noNames;
    model::CProgData config;
    model::CQeltoDoc doc{config, noNames};
    test::ScriptedPrompts engineer;
    comms::LegacyContext context{
        doc, link, engineer, [](int id) { return std::to_string(id); }, {}};

    LegacySim(const std::string& kind, const json& memory, std::vector<std::string> options = {}) {
        options.insert(options.begin(), {"--kind", kind});
        sim = test::SimProcess::withMemory(test::testDir(), QELTO_UNITSIM_PATH, memory, options);
        link.setPortName(sim->portPath());
        doc.onNewDocument();
        engineer.password = 1234;
        engineer.yes = true;
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

TEST(LegacyOperationsAgainstSimulator, ADishwashReadOfA110UnitTakesTheSecondChargeBlock) {
    LegacySim s("legacy-dishwash", {{"version", "1.1.0"},
                                    {"comments", "probe cleaned"},
                                    {"dishwash",
                                     {{"customerLines", {"Cafe Nord", ""}},
                                      {"ic2Mode", 3},
                                      {"probeConcentration", 150},
                                      {"propTo", 9}}}});
    ASSERT_EQ(comms::readOlderDishwash(s.context).status, OperationStatus::Ok);
    const model::CDishWashViewData& read = s.doc.dishwash();
    EXPECT_EQ(read.DW_ProbeConcentration, 150);
    EXPECT_EQ(read.DW_PropTo, 9);
    EXPECT_EQ(s.config.comments, "probe cleaned");
    EXPECT_EQ(model::textOf(s.config.customerName1), "Cafe Nord");

    // The unit agrees with what was read from it, and names the one setting changed since.
    comms::OperationResult verified = comms::verifyOlderDishwash(s.context);
    EXPECT_EQ(verified.verified, true);
    s.doc.dishwash().DW_PropTo = 7;
    verified = comms::verifyOlderDishwash(s.context);
    ASSERT_EQ(verified.differences.size(), 1U);
    EXPECT_EQ(comms::olderDifferenceLine(verified.differences[0]), "prop to: unit 9, document 7");
    EXPECT_EQ(verified.closingMessage, comms::kMsgVerifyMismatch);
}

}  // namespace
}  // namespace qelto
