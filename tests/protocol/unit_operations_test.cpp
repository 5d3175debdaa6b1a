// The unlock, writes and commands against a scripted unit: the packets each sends, in order, and
// how it judges the replies. What the unit keeps of them, the plain commands, which program data
// halves a write sends, the calibration's dates and keep-alive polls, a refused comments read, a
// cancel and a unit that stops answering part way are checked against the simulated unit
// (tests/integration, tests/comms, tests/cli).
#include <gtest/gtest.h>

#include <functional>

#include "protocol/unit_reads.h"
#include "protocol/unit_writes.h"
#include "scripted_unit.h"

namespace qelto::protocol {
namespace {

using test::ScriptedUnit;

// A cancelled PIN prompt sends nothing and forgets the PIN, so the next unlock asks again; an
// entered PIN is sent, remembered and not asked for again. (The identity an unlock fills and a
// refusal are read from the simulated unit in tests/integration.)
TEST(Unlock, ThePinIsAskedOnceSentAndRemembered) {
    ScriptedUnit u;
    CommsData data;
    int asked = 0;
    std::optional<std::uint16_t> typed;
    const PinPrompt prompt = [&] {
        ++asked;
        return typed;
    };
    EXPECT_FALSE(Unlock(data, u.channel, prompt));
    EXPECT_FALSE(Unlock(data, u.channel, prompt));
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(u.sent().empty());
    EXPECT_EQ(data.connection.rememberedPin, -1);
    EXPECT_FALSE(data.connection.pinAccepted);

    typed = 4321;
    u.replyAck(2);
    ASSERT_TRUE(Unlock(data, u.channel, prompt));
    ASSERT_TRUE(Unlock(data, u.channel, prompt));
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(u.sent(), std::vector<Packet>(2, makeUnlock(4321)));
    EXPECT_EQ(data.connection.rememberedPin, 4321);
    EXPECT_TRUE(data.connection.pinAccepted);
    EXPECT_EQ(data.identity.pin, 4321);
}

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
