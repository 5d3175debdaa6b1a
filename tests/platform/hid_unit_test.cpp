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

// The first unit of ours in the list is opened, other devices are skipped, a unit that cannot be
// opened gives way to the next; when none opens, the message names the ids looked for or the
// udev rule that grants the permission.
TEST(HidUnitChoice, TheFirstUnitThatOpensIsTakenAndAFailureSaysWhy) {
    const HidCandidate other{"/dev/hidraw0", 0x1234, 0x0301};
    const HidCandidate otherProduct{"/dev/hidraw1", 0x2F1A, 0x0999};
    const HidCandidate busy{"/dev/hidraw4", 0x2F1A, 0x0301};
    const HidCandidate unit{"/dev/hidraw5", 0x2F1A, 0x0302};
    const struct {
        std::vector<HidCandidate> devices;
        int refusal;  // of /dev/hidraw4
        std::vector<std::string> opened;
        const char* error;
    } rows[] = {
        {{other, otherProduct, unit, busy}, 0, {"/dev/hidraw5"}, ""},
        {{busy, unit}, EBUSY, {"/dev/hidraw4", "/dev/hidraw5"}, ""},
        {{other}, 0, {}, "no unit found on USB (vendor id 2f1a, product id 0301 or 0302)"},
        {{busy},
         EACCES,
         {"/dev/hidraw4"},
         "cannot open the unit at /dev/hidraw4: permission denied"},
    };
    for (const auto& row : rows) {
        FakeBackend backend;
        backend.devices = row.devices;
        if (row.refusal != 0) {
            backend.refusals["/dev/hidraw4"] = row.refusal;
        }
        std::string error;
        const bool found = openHidUnitWith(backend, kIds, &error) != nullptr;
        EXPECT_EQ(found, *row.error == '\0') << row.error;
        EXPECT_EQ(backend.askedVendor, 0x2F1A);
        EXPECT_EQ(backend.opened, row.opened);
        EXPECT_THAT(error, HasSubstr(row.error));
        if (row.refusal == EACCES) {
            EXPECT_THAT(error, HasSubstr("70-qelto.rules"));
        }
    }
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

// A report goes out whole; an input report gets its report number in front; silence times out
// (never hidapi's "wait for ever"); a short report fails.
TEST_F(HidUnitReports, ReportsGoOutAndComeInWholeOrFail) {
    HidReportBytes out{};
    out[1] = 0x30;
    out[35] = 0xAB;
    EXPECT_EQ(unit->writeReport(out), IoStatus::Ok);
    EXPECT_EQ(script.written, std::vector<std::uint8_t>(out.begin(), out.end()));

    HidReportBytes in{};
    EXPECT_EQ(unit->readReport(in, -5ms), IoStatus::TimedOut);
    EXPECT_EQ(script.lastTimeoutMs, 0);
    script.reply = {0x30, 1, 2};
    EXPECT_EQ(unit->readReport(in, 10ms), IoStatus::Failed);
    script.reply.clear();
    for (std::uint8_t i = 0; i < 35; ++i) {
        script.reply.push_back(static_cast<std::uint8_t>(i + 1));
    }
    in.fill(0xEE);
    EXPECT_EQ(unit->readReport(in, 40ms), IoStatus::Ok);
    EXPECT_EQ(in[0], 0);
    EXPECT_EQ(in[35], 35);
    EXPECT_EQ(script.lastTimeoutMs, 40);
}

}  // namespace
}  // namespace qelto::platform
