// The password procedure and the legacy laundry read, write and third command against scripted
// units: what goes on the wire, what the engineer is told, and what lands in the record.
#include "legacy/laundry_config.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "legacy/command_frame.h"
#include "legacy/config_stream.h"
#include "scripted_prompts.h"
#include "unit_script.h"

namespace qelto::legacy::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const Bytes kV109{'1', '0', '9'};
const Bytes kV110{'1', '1', '0'};

// A stream with reset delay 125 s and PIN 1 = 0x1823; every other byte 0.
Bytes configStream() {
    Bytes stream(kConfigStreamSize, 0);
    stream[47] = 0x00;
    stream[48] = 0x7D;
    stream[59] = 0x18;
    stream[60] = 0x23;
    return stream;
}

class LegacyLaundryTest : public LegacyLinkTest {
  protected:
    LegacyLaundryTest() { config.progName[0] = "old"; }

    ScriptedPrompts prompts;
    model::CProgData config;
};

// --- the password procedure

TEST_F(LegacyLaundryTest, AWrongPasswordIsReportedAfterTheFirstRefusal) {
    passwordCommand(unit, kV109, kReadConfigFrame, 0);
    EXPECT_EQ(ReadLegacyUnit(link, prompts, config), LegacyOutcome::PasswordRefused);
    ASSERT_EQ(prompts.shown.size(), 1U);
    EXPECT_EQ(prompts.shown[0].textId, kTextWrongPassword);
    EXPECT_THAT(pauses, IsEmpty());
}

TEST_F(LegacyLaundryTest, FiveUnansweredAttemptsNameTheUnitOnce) {
    for (int i = 0; i < kPasswordAttempts; ++i) {
        signOn(unit, kV109);
        unit.expect(kReadConfigFrame).silence();
    }
    EXPECT_EQ(ReadLegacyUnit(link, prompts, config), LegacyOutcome::NoAnswer);
    EXPECT_THAT(pauses, ElementsAre(100ms, 100ms, 100ms, 100ms));
    ASSERT_EQ(prompts.shown.size(), 1U);
    EXPECT_EQ(prompts.shown[0].textId, kTextReadNoAnswer);
    ASSERT_TRUE(prompts.shown[0].unit);
    EXPECT_EQ(prompts.shown[0].unit->textId, 190);  // type 3
    EXPECT_EQ(prompts.passwordQuestions, 1);
}

TEST_F(LegacyLaundryTest, AnAttemptThatFailsIsRetriedAndThenSucceeds) {
    signOn(unit, kV109);
    unit.expect(kReadConfigFrame).reply({0x00});  // wrong acknowledge
    passwordCommand(unit, kV109, kReadConfigFrame, 1);
    unit.reply(configStream());
    EXPECT_EQ(ReadLegacyUnit(link, prompts, config), LegacyOutcome::Done);
    EXPECT_THAT(pauses, ElementsAre(100ms));
}

TEST_F(LegacyLaundryTest, APortThatWillNotOpenStopsWithoutAMessageOrARetry) {
    refusal = "no such port";
    EXPECT_EQ(ReadLegacyUnit(link, prompts, config), LegacyOutcome::PortUnavailable);
    EXPECT_EQ(opens.size(), 1U);
    EXPECT_THAT(prompts.shown, IsEmpty());
}

TEST_F(LegacyLaundryTest, ACancelledPasswordSendsNothing) {
    prompts.password.reset();
    EXPECT_EQ(ReadLegacyUnit(link, prompts, config), LegacyOutcome::Cancelled);
    EXPECT_THAT(unit.written, IsEmpty());
}

TEST_F(LegacyLaundryTest, ANegativePasswordGoesOutAsItsTwoBytes) {
    prompts.password = -1;
    plainCommand(unit, kV109, kThirdCommandFrame);
    unit.expect({0xFF, 0xFF}).reply({1});
    EXPECT_EQ(SendThirdPasswordCommand(link, prompts), LegacyOutcome::Done);
    EXPECT_THAT(prompts.questions, ElementsAre(kTextConfirmSend));
    EXPECT_EQ(prompts.shown.back().textId, kTextWriteDone);
}

// --- read

TEST_F(LegacyLaundryTest, ReadFillsTheLegacyImageAndLeavesTheNamesOfAnOlderUnit) {
    passwordCommand(unit, kV109, kReadConfigFrame, 1);
    unit.reply(configStream());
    EXPECT_EQ(ReadLegacyUnit(link, prompts, config), LegacyOutcome::Done);
    EXPECT_EQ(model::legacyTime(config.legacyConfig, model::lc::kResetDelayTime),
              (model::MinSec{2, 5, 0}));
    EXPECT_EQ(model::legacyPin(config.legacyConfig, 0), 6179);
    EXPECT_EQ(config.progName[0], "old");
    EXPECT_EQ(prompts.shown.back().textId, kTextReadDone);
}

TEST_F(LegacyLaundryTest, AReadThatBreaksOffKeepsWhatArrivedAndSaysSo) {
    passwordCommand(unit, kV109, kReadConfigFrame, 1);
    const Bytes stream = configStream();
    unit.reply(Bytes(stream.begin(), stream.begin() + 50)).silence();
    EXPECT_EQ(ReadLegacyUnit(link, prompts, config), LegacyOutcome::Failed);
    EXPECT_EQ(config.legacyConfig[model::lc::kResetDelayTime + 1], 5);
    EXPECT_EQ(prompts.shown.back().textId, kTextReadFailed);
    EXPECT_TRUE(prompts.shown.back().unit);
}

TEST_F(LegacyLaundryTest, ReadOfA110UnitFetchesCommentsThenProgramNames) {
    passwordCommand(unit, kV110, kReadConfigFrame, 1);
    unit.reply(configStream());
    plainCommand(unit, kV110, kGetCommentsFrame);
    unit.reply(packet(0x40, 0, {'C', 'h', 'e'}) + packet(0x40, 3, {'c', 'k', 0}) +
               packet(0x80, 0, {}));
    plainCommand(unit, kV110, kGetNamesFrame);
    unit.reply(packet(0x40, 0, nameBytes("Towels")) + packet(0x40, 25 * 19, nameBytes("Mops")) +
               packet(0x80, 0, {}));
    EXPECT_EQ(ReadLegacyUnit(link, prompts, config), LegacyOutcome::Done);
    EXPECT_EQ(config.comments, "Check");
    EXPECT_EQ(config.progName[0], "Towels");
    EXPECT_EQ(config.progName[1], "");
    EXPECT_EQ(config.progName[19], "Mops");
}

TEST_F(LegacyLaundryTest, ANamePacketAtNoProgramsAddressFailsTheReadAndKeepsTheNames) {
    passwordCommand(unit, kV110, kReadConfigFrame, 1);
    unit.reply(configStream());
    plainCommand(unit, kV110, kGetCommentsFrame);
    unit.reply(packet(0x80, 0, {}));
    plainCommand(unit, kV110, kGetNamesFrame);
    unit.reply(packet(0x40, 26, nameBytes("Towels")));
    EXPECT_EQ(ReadLegacyUnit(link, prompts, config), LegacyOutcome::Failed);
    EXPECT_EQ(config.progName[0], "old");
}

// --- write

TEST_F(LegacyLaundryTest, WriteAsksFirstThenSendsTheStreamAfterThePassword) {
    config.legacyConfig[model::lc::kPumpSpeed] = 80;
    model::setLegacyTime(config.legacyConfig, model::lc::kFlushValveTime, 1, 30);
    passwordCommand(unit, kV109, kWriteConfigFrame, 1);
    const ConfigStream expected = encodeConfigStream(config.legacyConfig);
    unit.expect(Bytes(expected.begin(), expected.end()));
    EXPECT_EQ(WriteLegacyUnit(link, prompts, config), LegacyOutcome::Done);
    EXPECT_EQ(expected[44], 80);
    EXPECT_EQ(expected[49], 0x00);  // 1:30 goes out as 0x005A
    EXPECT_EQ(expected[50], 0x5A);
    EXPECT_THAT(prompts.questions, ElementsAre(kTextConfirmSend));
    EXPECT_EQ(prompts.shown.back().textId, kTextWriteDone);
}

TEST_F(LegacyLaundryTest, AWriteTheEngineerDeclinesNeverAsksForThePassword) {
    prompts.answerYes = false;
    EXPECT_EQ(WriteLegacyUnit(link, prompts, config), LegacyOutcome::Cancelled);
    EXPECT_EQ(prompts.passwordQuestions, 0);
    EXPECT_THAT(unit.written, IsEmpty());
}

TEST_F(LegacyLaundryTest, WriteToA110UnitSendsTwentyNamesThenTheComments) {
    config.comments = std::string(130, 'x');
    passwordCommand(unit, kV110, kWriteConfigFrame, 1);
    const ConfigStream stream = encodeConfigStream(config.legacyConfig);
    unit.expect(Bytes(stream.begin(), stream.end()));
    plainCommand(unit, kV110, kSendNamesFrame);
    for (std::uint16_t i = 0; i < 20; ++i) {
        unit.expect(
                packet(0x40, static_cast<std::uint16_t>(25 * i), nameBytes(i == 0 ? "old" : "")))
            .reply({0xAA});
    }
    unit.expect(packet(0x80, 0, {}));
    plainCommand(unit, kV110, kSendCommentsFrame);
    unit.expect(packet(0x40, 0, Bytes(128, 'x'))).reply({0xAA});
    unit.expect(packet(0x40, 128, Bytes(2, 'x'))).reply({0xAA});
    unit.expect(packet(0x80, 0, {}));
    EXPECT_EQ(WriteLegacyUnit(link, prompts, config), LegacyOutcome::Done);
}

TEST_F(LegacyLaundryTest, ANameTheUnitRefusesEndsTheWriteAsFailed) {
    passwordCommand(unit, kV110, kWriteConfigFrame, 1);
    const ConfigStream stream = encodeConfigStream(config.legacyConfig);
    unit.expect(Bytes(stream.begin(), stream.end()));
    plainCommand(unit, kV110, kSendNamesFrame);
    unit.expect(packet(0x40, 0, nameBytes("old"))).reply({0x55});
    EXPECT_EQ(WriteLegacyUnit(link, prompts, config), LegacyOutcome::Failed);
    EXPECT_EQ(prompts.shown.back().textId, kTextWriteFailed);
}

}  // namespace
}  // namespace qelto::legacy::test
