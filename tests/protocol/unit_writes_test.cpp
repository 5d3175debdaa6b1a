// The writes and commands against a scripted unit: the packets each sends, in order, and how it
// judges the replies. What the unit keeps of them, the plain commands, which program data halves a
// write sends and the calibration's dates and keep-alive polls are checked against the simulated
// unit (tests/integration, tests/comms).
#include "protocol/unit_writes.h"

#include <gtest/gtest.h>

#include <functional>

#include "protocol/unit_reads.h"
#include "scripted_unit.h"

namespace qelto::protocol {
namespace {

using test::ScriptedUnit;

TEST(UnitWrites, EachSendsItsPacketsAndJudgesTheReplies) {
    const std::optional<Packet> ack = makeAck();
    const std::optional<Packet> nak = makeNak();
    const std::optional<Packet> identity = makeAck(test::identityWithVersion('2', '0', '5'));
    const LocalClock impossibleClock = [] {
        std::tm t{};
        t.tm_mday = 15;
        t.tm_mon = 12;
        return t;
    };
    IdentityPart found;

    const struct {
        const char* name;
        std::vector<std::optional<Packet>> replies;
        std::function<bool(UnitChannel&)> operation;
        bool succeeds;
        std::vector<Packet> sent;
    } rows[] = {
        {"a refused erase of names counts as erased",
         {nak},
         EraseNames,
         true,
         {makePoll(CMD_ERASE_NAMES)}},
        {"an empty serial number sends nothing",
         {},
         [](UnitChannel& c) { return SetUnitSerialNumber("", c); },
         true,
         {}},
        {"an impossible clock sends nothing",
         {},
         [&](UnitChannel& c) { return SetUnitTime(c, impossibleClock); },
         false,
         {}},
        {"the settings memory is erased once the unit says who it is",
         {identity, ack},
         [&](UnitChannel& c) { return eraseSettingsMemory(found, c); },
         true,
         {makeIdentify(), makeEraseEeprom()}},
        {"no erase for a unit that will not say who it is",
         {nak},
         [&](UnitChannel& c) { return eraseSettingsMemory(found, c); },
         false,
         {makeIdentify()}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedUnit u;
        u.path.replies.assign(row.replies.begin(), row.replies.end());
        EXPECT_EQ(row.operation(u.channel), row.succeeds);
        EXPECT_EQ(u.sent(), row.sent);
    }
    EXPECT_EQ(found.unit.serial, 42u);
}

}  // namespace
}  // namespace qelto::protocol
