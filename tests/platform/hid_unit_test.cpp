#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <map>

#include "platform/hid_backend.h"

namespace qelto::platform {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;

// What the fake device saw and what it answers.
struct FakeDeviceScript {
    std::vector<std::uint8_t> written;
    int writeResult = static_cast<int>(kHidReportBytes);
    std::vector<std::uint8_t> reply;  // as hidraw gives it: without a report number
    int readResult = 0;               // used when reply is empty
    int lastTimeoutMs = -2;
};

class FakeHandle final : public HidHandle {
  public:
    explicit FakeHandle(FakeDeviceScript& script) : script_(script) {}
    int write(std::span<const std::uint8_t> report) override {
        script_.written.assign(report.begin(), report.end());
        return script_.writeResult;
    }
    int read(std::span<std::uint8_t> report, int timeoutMs) override {
        script_.lastTimeoutMs = timeoutMs;
        if (script_.reply.empty()) {
            return script_.readResult;
        }
        const std::size_t n = std::min(report.size(), script_.reply.size());
        std::copy_n(script_.reply.begin(), n, report.begin());
        return static_cast<int>(n);
    }

  private:
    FakeDeviceScript& script_;
};

// Returns every device it holds, whatever vendor is asked for, so the filtering is Qelto's.
class FakeBackend final : public HidBackend {
  public:
    bool enumerate(std::uint16_t vendorId, std::vector<HidCandidate>& found,
                   std::string&) override {
        askedVendor = vendorId;
        found = devices;
        return true;
    }
    HidOpenResult open(const std::string& path) override {
        opened.push_back(path);
        HidOpenResult result;
        if (const auto refusal = refusals.find(path); refusal != refusals.end()) {
            result.err = refusal->second;
        } else {
            result.handle = std::make_unique<FakeHandle>(script);
        }
        return result;
    }

    std::vector<HidCandidate> devices;
    std::map<std::string, int> refusals;
    std::vector<std::string> opened;
    std::uint16_t askedVendor = 0;
    FakeDeviceScript script;
};

const HidIds kIds{};

TEST(HidUnitChoice, TheFirstUnitInTheListIsOpenedAndOtherDevicesAreSkipped) {
    FakeBackend backend;
    backend.devices = {{"/dev/hidraw0", 0x1234, 0x0301},
                       {"/dev/hidraw1", 0x2F1A, 0x0999},
                       {"/dev/hidraw2", 0x2F1A, 0x0302},
                       {"/dev/hidraw3", 0x2F1A, 0x0301}};
    EXPECT_NE(openHidUnitWith(backend, kIds, nullptr), nullptr);
    EXPECT_EQ(backend.askedVendor, 0x2F1A);
    EXPECT_EQ(backend.opened, std::vector<std::string>{"/dev/hidraw2"});
}

TEST(HidUnitChoice, NoUnitPresentNamesTheIdsLookedFor) {
    FakeBackend backend;
    backend.devices = {{"/dev/hidraw0", 0x1234, 0x0301}};
    std::string error;
    EXPECT_EQ(openHidUnitWith(backend, {0x2F1A, 0x0401, 0x0402}, &error), nullptr);
    EXPECT_THAT(error, HasSubstr("no unit found on USB (vendor id 2f1a, product id 0401 or 0402)"));
    EXPECT_TRUE(backend.opened.empty());
}

TEST(HidUnitChoice, AUnitThatRefusesUsForPermissionPointsToTheUdevRule) {
    FakeBackend backend;
    backend.devices = {{"/dev/hidraw4", 0x2F1A, 0x0301}};
    backend.refusals["/dev/hidraw4"] = EACCES;
    std::string error;
    EXPECT_EQ(openHidUnitWith(backend, kIds, &error), nullptr);
    EXPECT_THAT(error, HasSubstr("cannot open the unit at /dev/hidraw4: permission denied"));
    EXPECT_THAT(error, HasSubstr("70-qelto.rules"));
}

TEST(HidUnitChoice, AUnitThatCannotBeOpenedGivesWayToTheNextOne) {
    FakeBackend backend;
    backend.devices = {{"/dev/hidraw4", 0x2F1A, 0x0301}, {"/dev/hidraw5", 0x2F1A, 0x0302}};
    backend.refusals["/dev/hidraw4"] = EBUSY;
    EXPECT_NE(openHidUnitWith(backend, kIds, nullptr), nullptr);
    EXPECT_EQ(backend.opened.back(), "/dev/hidraw5");
}

TEST(HidUnitChoice, TheUdevRuleGrantsTheDefaultVendor) {
    std::ifstream rule(QELTO_UDEV_RULE);
    const std::string text{std::istreambuf_iterator<char>(rule), {}};
    EXPECT_THAT(text, HasSubstr("SUBSYSTEM==\"hidraw\""));
    EXPECT_THAT(text, HasSubstr("ATTRS{idVendor}==\"2f1a\""));
    EXPECT_EQ(kIds.vendorId, 0x2F1A);
}

class HidUnitReports : public ::testing::Test {
  protected:
    void SetUp() override {
        backend.devices = {{"/dev/hidraw0", 0x2F1A, 0x0301}};
        unit = openHidUnitWith(backend, kIds, nullptr);
        ASSERT_NE(unit, nullptr);
    }
    FakeBackend backend;
    FakeDeviceScript& script = backend.script;
    std::unique_ptr<HidDevice> unit;
};

TEST_F(HidUnitReports, AWrittenReportGoesOutWholeOrFails) {
    HidReportBytes out{};
    out[1] = 0x30;
    out[35] = 0xAB;
    EXPECT_EQ(unit->writeReport(out), IoStatus::Ok);
    EXPECT_EQ(script.written, std::vector<std::uint8_t>(out.begin(), out.end()));
    script.writeResult = -1;  // a vanished device
    EXPECT_EQ(unit->writeReport(HidReportBytes{}), IoStatus::Failed);
}

TEST_F(HidUnitReports, AnInputReportGetsItsReportNumberInFront) {
    for (std::uint8_t i = 0; i < 35; ++i) {
        script.reply.push_back(static_cast<std::uint8_t>(i + 1));
    }
    HidReportBytes in{};
    in.fill(0xEE);
    EXPECT_EQ(unit->readReport(in, 40ms), IoStatus::Ok);
    EXPECT_EQ(in[0], 0);
    EXPECT_EQ(in[1], 1);
    EXPECT_EQ(in[35], 35);
    EXPECT_EQ(script.lastTimeoutMs, 40);
}

TEST_F(HidUnitReports, SilenceTimesOutAndAVanishedOrShortReportFails) {
    HidReportBytes in{};
    EXPECT_EQ(unit->readReport(in, -5ms), IoStatus::TimedOut);
    EXPECT_EQ(script.lastTimeoutMs, 0);  // never hidapi's "wait for ever"
    script.readResult = -1;
    EXPECT_EQ(unit->readReport(in, 10ms), IoStatus::Failed);
    script.reply = {0x30, 1, 2};
    EXPECT_EQ(unit->readReport(in, 10ms), IoStatus::Failed);
}

}  // namespace
}  // namespace qelto::platform
