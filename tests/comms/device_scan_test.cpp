// Finding units: the channel loop of a radio dongle on USB (played by a fake that keeps a unit
// on some channels). qeltoctl's scan tests drive the same channel loop over the serial port.
#include "comms/device_scan.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "protocol/frame.h"
#include "protocol/packet_catalogue.h"
#include "scripted_prompts.h"

namespace qelto {
namespace {

using namespace comms;
using namespace protocol;

struct RadioUnit {
    std::uint32_t serial = 0;
    std::uint8_t productCode = 1;
    std::uint8_t unitType = 3;
    std::optional<std::string> description;  // nullopt: does not answer the request
    std::uint8_t signal = 0;
};

// A radio dongle on USB: answers the radio settings request itself and passes every other
// packet to the unit listening on its channel, if any.
class FakeRadioDongle final : public platform::HidDevice {
  public:
    std::map<int, RadioUnit> units;
    std::optional<int> refusedChannel;
    std::vector<int> channelsAsked;

    platform::IoStatus writeReport(const platform::HidReportBytes& report) override {
        pending_ = answer(packetFromHidReport(report));
        return platform::IoStatus::Ok;
    }
    platform::IoStatus readReport(platform::HidReportBytes& report,
                                  std::chrono::milliseconds) override {
        if (!pending_) {
            return platform::IoStatus::TimedOut;
        }
        report = encodeHidReport(*pending_);
        pending_.reset();
        return platform::IoStatus::Ok;
    }

  private:
    std::optional<Packet> answer(const Packet& request) {
        if (request.id() == PKT_RF_SETTINGS) {
            const int asked = request[7];
            if (asked != kAnyRfChannel) {
                channelsAsked.push_back(asked);
                if (asked == refusedChannel) {
                    return std::nullopt;
                }
                channel_ = asked;
            }
            RfSettingsReply reply;
            reply.settings[1] = static_cast<std::uint8_t>(channel_);
            const auto unit = units.find(channel_);
            reply.settings[kRfSignalByte - 6] = unit == units.end() ? 0 : unit->second.signal;
            return makeRfSettingsReply(reply);
        }
        const auto unit = units.find(channel_);
        if (unit == units.end()) {
            return std::nullopt;
        }
        if (request.id() == PKT_POLL && request[6] == CMD_NONE) {
            UnitIdentity identity;
            identity.serial = unit->second.serial;
            identity.bytes6to8[0] = unit->second.productCode;
            identity.unitTypeIndex = unit->second.unitType;
            identity.version = {'1', '3', '0'};
            return makeAck(identity);
        }
        if (request.id() == PKT_POLL && request[6] == CMD_GET_UNIT_DESC &&
            unit->second.description) {
            return makeUnitDescription(*unit->second.description);
        }
        return std::nullopt;
    }

    int channel_ = 0;
    std::optional<Packet> pending_;
};

class DeviceScan : public ::testing::Test {
  protected:
    std::vector<std::string> scan(std::unique_ptr<FakeRadioDongle> dongle) {
        dongle_ = dongle.get();
        ScanSetup setup;
        setup.openHid = [&dongle]() -> std::unique_ptr<platform::HidDevice> {
            return std::move(dongle);
        };
        setup.hidReplyTimeout = std::chrono::milliseconds(1);
        setup.timings.fastScanReply = std::chrono::milliseconds(300);
        setup.sleep = [](std::chrono::milliseconds) {};
        DeviceScanner scanner(table, setup, linkState, abort, prompts,
                              [](int id) { return "text " + std::to_string(id); });
        std::vector<std::string> lines = scanner.scanAllLinks();
        links = std::move(scanner.links());
        return lines;
    }

    DeviceTable table;
    LinkState linkState;
    std::atomic<bool> abort{false};
    test::ScriptedPrompts prompts;
    ScanLinks links;
    FakeRadioDongle* dongle_ = nullptr;
};

// Units that are not ours (product code 0, unit type 20) are not listed; one of ours that keeps
// its description is.
TEST_F(DeviceScan, ARadioDongleIsAskedForEveryChannelFrom3To75) {
    auto dongle = std::make_unique<FakeRadioDongle>();
    dongle->units[3] = {1, 0, 3, std::string("product code 0"), 10};
    dongle->units[9] = {123456789, 1, 3, std::string("Wash line 3"), 180};
    dongle->units[15] = {3, 1, 3, std::nullopt, 10};
    dongle->units[21] = {2, 1, 20, std::string("unit type 20"), 10};
    dongle->units[75] = {7, 2, 19, std::string(""), 40};
    auto* fake = dongle.get();
    const auto lines = scan(std::move(dongle));

    std::vector<int> expected;
    for (int c = 3; c < 76; c += 6) {
        expected.push_back(c);
    }
    EXPECT_EQ(fake->channelsAsked, expected);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"text 422 - 123456789 - Wash line 3 : (RF Ch09 SS180)",
                                        "text 422 - 000000003 : (RF Ch15 SS010)",
                                        "Unrecognised product - 000000007 -  : (RF Ch75 SS040)"}));
    EXPECT_EQ(table[0].linkType, LinkType::RfUsb);
    EXPECT_EQ(table[0].handle, DeviceHandle::Hid);
    EXPECT_EQ(table[2].serialNo, 7u);
    EXPECT_EQ(prompts.statuses.front(), "text 437");
    EXPECT_EQ(prompts.statuses.back(), "text 387");
    EXPECT_EQ(std::count(prompts.calls.begin(), prompts.calls.end(), "progressStep"), 13);
    EXPECT_FALSE(linkState.fastScan) << "the short reply wait belongs to the scan only";
    EXPECT_NE(links.hid, nullptr) << "the dongle stays open for the operation";
}

}  // namespace
}  // namespace qelto
