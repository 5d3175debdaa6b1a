// qeltoctl scan, --unit and bt against qelto-unitsim: a wired unit, units behind a radio dongle
// on several channels, and a unit behind the Bluetooth dongle once paired.
#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/qeltoctl_runner.h"
#include "support/sim_process.h"
#include "support/test_env.h"

namespace qelto::test {
namespace {

using nlohmann::json;

class ScanCommand : public ::testing::Test {
  protected:
    void start(std::vector<std::string> options) {
        sim = std::make_unique<SimProcess>(testDir(), QELTO_UNITSIM_PATH, options);
    }

    // A unit's state file with its own serial number and description.
    static std::string unitFile(const std::string& name, int serial,
                                const std::string& description) {
        const auto path = testDir() / (name + ".json");
        writeFile(path, json{{"serial", serial}, {"description", description}}.dump());
        return path.string();
    }

    ProcessResult scan(std::vector<std::string> extra = {}) const {
        std::vector<std::string> args{"scan", "--port", sim->portPath()};
        args.insert(args.end(), extra.begin(), extra.end());
        return runQeltoctl(args);
    }

    std::unique_ptr<SimProcess> sim;
};

TEST_F(ScanCommand, AWiredUnitIsListedAsTheUnitListShowsIt) {
    start({"--serial", "4711"});
    EXPECT_EQ(scan().out, "Dosing Controller - 000004711 -  : (RS232/BT)\n");

    const json list = json::parse(scan({"--json"}).out);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]["index"], 0);
    EXPECT_EQ(list[0]["serialNo"], 4711);
    EXPECT_EQ(list[0]["linkType"], 1);
    EXPECT_EQ(list[0]["rfChannel"], 0);
    EXPECT_EQ(list[0]["label"], "Dosing Controller - 000004711 - ");
}

TEST_F(ScanCommand, UnitsBehindARadioDongleAreListedByChannelAndOnlyTheChosenOneIsChanged) {
    // The dongle refuses channel 15, which ends its scan there and keeps the run short.
    start({"--rf-dongle", "--rf-unit", "3:180:" + unitFile("a", 1001, "Line A"), "--rf-unit",
           "9:40:" + unitFile("b", 1002, "Line B"), "--rf-unit",
           "21:40:" + unitFile("c", 1003, "Line C"), "--rf-refuse-channel", "15"});
    const ProcessResult shown = scan();
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out,
              "Dosing Controller - 000001001 - Line A : (RF Ch03 SS180)\n"
              "Dosing Controller - 000001002 - Line B : (RF Ch09 SS040)\n");
    const auto at = shown.err.find("Error setting RF channel 15");
    EXPECT_NE(at, std::string::npos) << shown.err;
    EXPECT_EQ(shown.err.find("Error setting RF channel", at + 1), std::string::npos);

    // A document whose description differs, written to the second unit only.
    const auto doc = testDir() / "doc.qlf";
    ASSERT_EQ(runQeltoctl({"new", doc.string()}).exitCode, 0);
    EXPECT_TRUE(exited(runQeltoctl({"write", doc.string(), "--unit", "1", "--port", sim->portPath(),
                                    "--pin", "1234", "--only", "description"}),
                       0));
    const json units = sim->stopAndDump();
    EXPECT_EQ(units[0]["description"], "Line A");
    EXPECT_EQ(units[1]["description"], "");
    EXPECT_EQ(units[2]["description"], "Line C");
}

TEST_F(ScanCommand, AUnitNumberBeyondTheScanIsRefusedClearly) {
    start({});
    EXPECT_TRUE(exited(runQeltoctl({"read", "--unit", "3", "--port", sim->portPath(), "--pin",
                                    "1234", "--out", "x.qlf"}),
                       1, {"the scan found 1 unit (0 to 0), so there is no unit 3"}));
}

TEST_F(ScanCommand, AfterPairingTheBluetoothUnitIsFoundAsAWiredOne) {
    start({"--bt-dongle", "--bt-module", "KNW_A1:70:" + unitFile("a", 2001, "Ward 1"),
           "--bt-module", "KNW_B2:90:" + unitFile("b", 2002, "Ward 2")});
    EXPECT_EQ(runQeltoctl({"bt", "scan", "--port", sim->portPath()}).out,
              "0 KNW_A1  (H -070)\n1 KNW_B2  (L -090)\n");
    EXPECT_TRUE(exited(runQeltoctl({"bt", "pair", "1", "--port", sim->portPath()}), 0));
    EXPECT_EQ(scan().out, "Dosing Controller - 000002002 - Ward 2 : (RS232/BT)\n");
    EXPECT_TRUE(exited(runQeltoctl({"bt", "pair", "10", "--port", sim->portPath()}), 2));
}

}  // namespace
}  // namespace qelto::test
