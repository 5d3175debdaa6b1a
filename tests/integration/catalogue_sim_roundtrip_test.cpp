// The PC's packet builders and parsers against the simulated unit, which reads the same byte
// layouts with code of its own: the global settings and a record of each dosing kind are written
// with a builder, read back with the matching poll and parser, and must come back as they went,
// and the unit's memory names each field. A field that one side places at a different byte than
// the other shows up here. Whole records, names, texts, the clock and the serial number travel
// through the operation driver's tests, which check the unit's memory after a write and read it
// back with a verify.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "protocol/packet_catalogue.h"
#include "support/sim_link.h"
#include "support/test_env.h"

namespace qelto {
namespace {

using namespace protocol;

constexpr std::uint32_t kSimSerial = 123456789;  // the simulator's factory serial number

class CatalogueRoundtrip : public ::testing::Test {
  protected:
    // Starts a unit and unlocks it, as every write sequence of the PC begins.
    void start(const std::vector<std::string>& options = {}) {
        unit_ = std::make_unique<test::SimLink>(test::testDir(), options);
        ASSERT_EQ(ask(makeUnlock(1234)).id(), PKT_ACK);
    }

    Packet ask(const Packet& request) {
        Packet reply;
        EXPECT_EQ(unit_->exchange(request, reply), LinkStatus::Ok)
            << "request id " << int(request.id());
        return reply;
    }

    // A write must be acknowledged; the identifier alone says so.
    void set(const Packet& request) {
        EXPECT_EQ(ask(request).id(), PKT_ACK) << "write of packet id " << int(request.id());
    }

    std::unique_ptr<test::SimLink> unit_;
};

// Every field of both global blocks (every speed range among them, 3 wrapping to 0 on the wire)
// comes back as it went, a reply stamping the unit's serial into bytes 2..5. A value read back
// through the catalogue's own parser would hide a field that its builder and parser both put at
// the same wrong byte; the unit's memory, named field by field, does not.
TEST_F(CatalogueRoundtrip, GlobalsReadBackAndTheUnitFilesEachWrittenFieldUnderItsOwnName) {
    start();
    GlobalBlock1 block1;
    block1.unitType = 5;
    block1.language = 2;
    block1.pins = {1111, 2222, 3333};
    block1.accessCode = 4;
    block1.auxTime = 90;
    block1.auxByte = 6;
    block1.resetDelayTime = 700;
    block1.resetDelayOff = 8;
    block1.resetDelayLastInput = 1;
    block1.optionFlag1 = true;
    block1.viewMode = 10;
    block1.flushType = 1;
    block1.relayMode = 12;
    block1.safetyStopMode = 13;
    set(makeGlobalBlock1(block1));
    GlobalBlock2 block2;
    block2.pumpSpeed = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    block2.flushValveTime = 500;
    block2.pumpSpeedRange = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1};
    set(makeGlobalBlock2(block2));
    block1.unitSerial = block2.unitSerial = kSimSerial;
    EXPECT_EQ(parseGlobalBlock1(ask(makePoll(CMD_GET_GLOBAL, 0))), block1);
    EXPECT_EQ(parseGlobalBlock2(ask(makePoll(CMD_GET_GLOBAL, 1))), block2);
    set(makePumpCal(PumpCalGroup{1, {{{}, {}, {}, {}, {0x0203, 4, 5, 6}}}}));
    ProgDataHalf half{2, 1, 3, 9, {}};
    half.pumps[1] = {1, 21, 22, 23, 24};
    set(makeProgDataHalf(half));
    set(makeAutoFs(AutoFs{3, 0x0405, 6}));
    EXPECT_EQ(parseAutoFs(ask(makePoll(CMD_GET_AUTOFS))), (AutoFs{3, 0x0405, 6}));
    set(makeResetTo(resetToForOption(21)));

    unit_->port.reset();
    ASSERT_EQ(unit_->sim.stop(), 0);
    const auto dump = nlohmann::json::parse(test::readFile(unit_->sim.dumpFile()));
    using P = nlohmann::json::json_pointer;
    const std::vector<std::pair<const char*, nlohmann::json>> fields = {
        {"/unitType", 5},
        {"/globals/language", 2},
        {"/globals/pins", {1111, 2222, 3333}},
        {"/globals/accessCode", 4},
        {"/globals/auxTime", 90},
        {"/globals/auxByte", 6},
        {"/globals/resetDelay", 700},
        {"/globals/resetDelayOff", 8},
        {"/globals/resetDelayLastInput", 1},
        {"/globals/optionFlags", 2},
        {"/globals/viewMode", 10},
        {"/globals/flushType", 1},
        {"/globals/relayMode", 12},
        {"/globals/safetyStopMode", 13},
        {"/globals/pumpSpeeds", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"/globals/flushValveTime", 500},
        // The unit keeps the ranges as they travel: one higher, with 3 wrapping to 0.
        {"/globals/pumpSpeedRanges", {1, 2, 3, 0, 1, 2, 3, 0, 1, 2}},
        {"/calibration/9", {{"volume", 0x0203}, {"day", 4}, {"month", 5}, {"year", 6}}},
        {"/programs/0/program", 2},
        {"/programs/0/trigger", 3},
        {"/programs/0/setting", 9},
        {"/programs/0/pumps/6", {1, 21, 22, 23, 24}},
        {"/autoFlush", {{"mode", 3}, {"time", 0x0405}, {"acceptTime", 6}}},
        {"/resetTo/kind", 0},
        {"/resetTo/value", 20},
    };
    for (const auto& [pointer, expected] : fields) {
        ASSERT_TRUE(dump.contains(P(pointer))) << pointer;
        EXPECT_EQ(dump.at(P(pointer)), expected) << pointer;
    }
}

}  // namespace
}  // namespace qelto
