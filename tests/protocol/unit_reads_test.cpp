#include "protocol/unit_reads.h"

#include <gtest/gtest.h>

#include "protocol/request_purpose.h"
#include "protocol/unit_writes.h"
#include "scripted_unit.h"

namespace qelto::protocol {
namespace {

using test::ScriptedUnit;

Packet commentReply(std::string text, std::uint8_t count) {
    return makeComment({std::move(text), count});
}

// --- Unlock ---------------------------------------------------------------------------------

// A cancelled PIN prompt sends nothing and forgets the PIN, so the next unlock asks again; an
// entered PIN is sent, remembered and not asked for again; a refusal fails but keeps it. The
// acknowledgement fills serial, type and version, not a full identity.
TEST(Unlock, ThePinIsAskedOnceSentAndKeptThroughARefusal) {
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

    ScriptedUnit v;
    CommsData other;
    UnitIdentity unit = test::identityWithVersion('2', '0', '5');
    unit.byte14 = 7;
    unit.cpuSerial = 99;
    other.connection.rememberedPin = 1234;
    v.reply(makeAck(unit));
    ASSERT_TRUE(Unlock(other, v.channel, {}));
    EXPECT_EQ(other.identity.unit.serial, 42u);
    EXPECT_EQ(other.identity.unit.unitTypeIndex, 5);
    EXPECT_EQ(other.identity.unit.version, unit.version);
    EXPECT_EQ(other.identity.unit.byte14, 7);
    EXPECT_EQ(other.identity.unit.cpuSerial, 0u);
    other.connection.rememberedPin = 1111;
    v.reply(makeNak());
    EXPECT_FALSE(Unlock(other, v.channel, {}));
    EXPECT_EQ(other.connection.rememberedPin, 1111);
}

// --- Polls ----------------------------------------------------------------------------------

TEST(SimplePoll, UsesTheCallersAttemptsAndARefusalOnlyShowsVersionAndType) {
    ScriptedUnit u;
    IdentityPart identity;
    UnitIdentity unit = test::identityWithVersion('2', '0', '4');
    unit.cpuSerial = 0xABCDEF;
    unit.bytes24to25 = {1, 2};
    u.silence();
    u.silence();
    u.reply(makeAck(unit));
    EXPECT_TRUE(SimplePoll(identity, u.channel, 3));
    EXPECT_EQ(u.sent(), std::vector<Packet>(3, makePoll(CMD_NONE)));
    EXPECT_EQ(identity.unit, unit);

    ScriptedUnit refusing;
    IdentityPart none;
    refusing.reply(makeNak(test::identityWithVersion('1', '3', '0')));
    EXPECT_FALSE(SimplePoll(none, refusing.channel, 3));
    EXPECT_EQ(
        refusing.observer.units,
        (std::vector<std::pair<std::array<std::uint8_t, 3>, std::uint8_t>>{{{'1', '3', '0'}, 5}}));
    EXPECT_EQ(none, IdentityPart{}) << "a refusal fills no identity";
}

// --- Comments -------------------------------------------------------------------------------

// A full last block loses its twenty-fifth character.
TEST(GetComments, TheFirstBlockIsAskedTwiceAndTheBlocksAreJoined) {
    ScriptedUnit u;
    CommentsPart comments;
    for (const char* block : {"abc", "abc", "def"}) {
        u.reply(commentReply(block, 3));
    }
    u.reply(commentReply(std::string(25, 'x'), 3));
    ASSERT_TRUE(GetComments(comments, u.channel));
    EXPECT_EQ(u.sent(),
              (std::vector<Packet>{makePoll(CMD_GET_COMMENTS, 1), makePoll(CMD_GET_COMMENTS, 1),
                                   makePoll(CMD_GET_COMMENTS, 2), makePoll(CMD_GET_COMMENTS, 3)}));
    EXPECT_EQ(comments.count, 3);
    EXPECT_EQ(slotText(comments.blocks[0]), "abc." + std::string(21, ' '));
    EXPECT_EQ(slotText(comments.blocks[1]), "def." + std::string(21, ' '));
    EXPECT_EQ(slotText(comments.blocks[2]), std::string(24, 'x'));
    EXPECT_EQ(u.observer.begun, std::vector<int>{3});
    EXPECT_EQ(u.observer.steps, 3);
    EXPECT_EQ(u.observer.ended, 1);
}

TEST(GetComments, AnAnnouncedCountAbove100KeepsOnlyOneHundredBlocks) {
    ScriptedUnit u;
    CommentsPart comments;
    u.path.responder = [](const Packet& request) {
        return std::optional(commentReply("b" + std::to_string(request[7]), 255));
    };
    ASSERT_TRUE(GetComments(comments, u.channel));
    EXPECT_EQ(comments.count, 100);
    EXPECT_EQ(u.sent().size(), 101u);
    EXPECT_EQ(u.sent().back(), makePoll(CMD_GET_COMMENTS, 100));
    EXPECT_EQ(slotText(comments.blocks[99]), "b100");
}

// A unit without comments refuses, and that is success; a wrong reply part way fails.
TEST(GetComments, ARefusalIsNoCommentsAndAWrongReplyAFailure) {
    ScriptedUnit u;
    CommentsPart comments;
    comments.count = 3;
    u.reply(makeNak());
    EXPECT_TRUE(GetComments(comments, u.channel));
    EXPECT_EQ(comments.count, 0);
    u.reply(commentReply("abc", 3));
    u.reply(commentReply("abc", 3));
    u.reply(makeAck());
    EXPECT_FALSE(GetComments(comments, u.channel));
    EXPECT_EQ(u.sent().size(), 4u) << "nothing more after the wrong reply";
    EXPECT_EQ(comments.count, 0);
}

// Names, customer lines and the globals are read back from the simulated unit in
// tests/integration, where a wrong reply part way fails the read as it does here for comments.

// --- Settings -------------------------------------------------------------------------------

TEST(GetUnitTime, AUnitWithoutAClockIsShownAsSuch) {
    ScriptedUnit u;
    TextSlot<kUnitTimeSlot> time{};
    u.reply(makeUnitTime(std::string_view{}));
    EXPECT_TRUE(GetUnitTime(time, u.channel));
    EXPECT_EQ(u.sent()[0], makePoll(CMD_GET_UNIT_TIME, 0));

    u.reply(makeUnitTime("12300015032019"));
    EXPECT_TRUE(GetUnitTime(time, u.channel));
    EXPECT_EQ(slotText(time), "12300015032019");

    EXPECT_FALSE(GetUnitTime(time, u.channel));  // nothing answers
    EXPECT_EQ(slotText(time), "");
    EXPECT_EQ(u.observer.shownTimes,
              (std::vector<std::string>{std::string(kNoClockText), "12300015032019",
                                        std::string(kNoClockText)}));
}

TEST(UnitChannel, ACancelledExchangeFailsAndSaysSo) {
    ScriptedUnit u;
    AutoFs settings;
    u.abort = true;
    EXPECT_FALSE(GetAutoFSConfig(settings, u.channel));
    EXPECT_TRUE(u.channel.cancelled());
    EXPECT_TRUE(u.sent().empty()) << "after a cancel nothing but the lock goes out";
    u.reply(makeAck());
    EXPECT_TRUE(lockUnit(u.channel));
    EXPECT_EQ(u.sent().size(), 1u);
}

TEST(UnitChannel, AUnitThatStopsAnsweringFailsEveryLaterRequestAtOnceButOneShortLock) {
    struct Retries final : OperationObserver {
        std::vector<int> asked;
        void retrying(int attempt, int attempts) override {
            asked.push_back(attempt);
            EXPECT_EQ(attempts, kOperationAttempts);
        }
    } retries;
    ScriptedUnit v;
    v.link.setSilenceEndsOperation(true);
    UnitChannel channel(v.link, &retries);
    AutoFs settings;
    EXPECT_FALSE(GetAutoFSConfig(settings, channel));
    EXPECT_FALSE(channel.cancelled()) << "a silent unit is a failure, not a cancel";
    EXPECT_EQ(v.sent().size(), 9u);
    EXPECT_EQ(retries.asked, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9}));
    ASSERT_TRUE(v.link.unanswered().has_value());
    EXPECT_EQ(requestPurpose(*v.link.unanswered()), "reading the automatic flush setting");

    IdentityPart probe;
    CalibrationPart calibration;
    EXPECT_FALSE(SimplePoll(probe, channel, 2));
    EXPECT_FALSE(GetPumpCal(calibration, channel));
    EXPECT_EQ(v.sent().size(), 9u) << "nothing more but the lock";
    EXPECT_FALSE(lockUnit(channel));
    EXPECT_FALSE(lockUnit(channel));
    EXPECT_EQ(v.sent().size(), 10u) << "the lock gets one try, once";
    EXPECT_EQ(v.sent().back(), makePoll(CMD_LOCK));
}

}  // namespace
}  // namespace qelto::protocol
