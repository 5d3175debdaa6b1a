#include <gtest/gtest.h>

#include "protocol/unit_reads.h"
#include "scripted_unit.h"

namespace qelto::protocol {
namespace {

using test::ScriptedUnit;

PumpCalGroup calGroup(std::uint8_t group, std::uint16_t firstVolume) {
    PumpCalGroup out;
    out.group = group;
    for (std::size_t j = 0; j < kPumpsPerHalf; ++j) {
        out.pumps[j] = {static_cast<std::uint16_t>(firstVolume + j), 1, 2, 19};
    }
    return out;
}

// Answers every program-data request with its own program, half and trigger, pump 1 of each
// half enabled and the trigger number as its setting.
std::optional<Packet> echoProgData(const Packet& request) {
    const auto poll = parsePoll(request);
    if (!poll || poll->command != CMD_GET_PROGDATA) {
        return std::nullopt;
    }
    ProgDataHalf half;
    half.program = static_cast<std::uint8_t>((poll->byte7 - PKT_PROG_FIRST) / 2);
    half.half = static_cast<std::uint8_t>((poll->byte7 - PKT_PROG_FIRST) % 2);
    half.trigger = poll->byte8;
    half.setting = poll->byte8;
    half.pumps[0] = {1, 30, 0, 5, 0};
    return makeProgDataHalf(half);
}

void queueCalibration(ScriptedUnit& u) {
    u.reply(makePumpCal(calGroup(0, 100)));
    u.reply(makePumpCal(calGroup(1, 200)));
}

TEST(GetProgdata, WithoutTheEnabledMapEveryHalfOfEveryTriggerIsRead) {
    ScriptedUnit u;
    CommsData data;
    int served = 0;
    u.path.responder = [&](const Packet& request) -> std::optional<Packet> {
        ++served;
        if (served == 1) {
            return makePumpCal(calGroup(0, 0));
        }
        if (served == 2) {
            return makePumpCal(calGroup(1, 0));
        }
        if (served == 3) {
            return makeNak();
        }
        return echoProgData(request);
    };
    ASSERT_TRUE(GetProgdata(data, u.channel));
    EXPECT_EQ(u.sent().size(), 3u + 400u);
    EXPECT_EQ(u.sent().back(), makeProgDataRequest(19, 1, 9));
    EXPECT_EQ(data.progData.programs[7][4].setting, 4);
}

// A calibration group other than 0 or 1 fails before any program request; a reply that is not
// program data fails and nothing more is asked.
TEST(GetProgdata, AWrongReplyStopsTheRead) {
    ScriptedUnit u;
    CommsData data;
    Packet badGroup = makePumpCal(calGroup(0, 1));
    badGroup[6] = 2;
    u.reply(badGroup);
    EXPECT_FALSE(GetProgdata(data, u.channel));
    EXPECT_EQ(u.sent().size(), 1u);

    ScriptedUnit v;
    EnProgs map;
    map.enabled[0][0] = true;
    map.enabled[1][0] = true;
    queueCalibration(v);
    v.reply(makeEnProgs(map));
    v.reply(makeAck());
    EXPECT_FALSE(GetProgdata(data, v.channel));
    EXPECT_EQ(v.sent().size(), 4u);
}

}  // namespace
}  // namespace qelto::protocol
