// The older units' operations against scripted units: the password procedure, the laundry read,
// write and third command, and a dishwash report the unit does not take; what goes on the wire,
// what the engineer is asked and told, and what lands in the document.
#include "comms/legacy_operations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>

#include "comms/legacy_context.h"
#include "comms/scripted_prompts.h"
#include "legacy/config_stream.h"
#include "legacy/unit_script.h"
#include "model/legacy_config.h"

namespace qelto::comms {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace legacy::test;

const Bytes kV109{'1', '0', '9'};
const Bytes kV110{'1', '1', '0'};

// A stream with reset delay 125 s and PIN 1 = 0x1823; every other byte 0.
Bytes configStream() {
    Bytes stream(legacy::kConfigStreamSize, 0);
    stream[48] = 0x7D;
    stream[59] = 0x18;
    stream[60] = 0x23;
    return stream;
}

Bytes streamOf(const model::CProgData& config) {
    const legacy::ConfigStream stream = legacy::encodeConfigStream(config.legacyConfig);
    return {stream.begin(), stream.end()};
}

class LegacyOperationsTest : public LegacyLinkTest {
  protected:
    LegacyOperationsTest() {
        doc.onNewDocument();
        config.progName[0] = "old";
        prompts.password = 1234;
        prompts.yes = true;
        link.setAbortFlag(&abort);
    }

    // Every call to the prompts, told apart from the status lines.
    std::vector<std::string> told() const {
        std::vector<std::string> lines;
        for (const std::string& call : prompts.calls) {
            if (call.rfind("status", 0) != 0) {
                lines.push_back(call);
            }
        }
        return lines;
    }

    model::NoPumpNameDefaults noNames;
    model::CProgData config;
    model::CQeltoDoc doc{config, noNames};
    test::ScriptedPrompts prompts;
    std::atomic<bool> abort{false};
    // Unit type 3 is named by text 190; every other text says its number.
    LegacyContext context{doc,
                          link,
                          prompts,
                          [](int id) {
                              return id == 190 ? std::string("L4 unit")
                                               : "text" + std::to_string(id) + " %s";
                          },
                          {}};
};

// --- the password procedure

TEST_F(LegacyOperationsTest, AWrongPasswordIsToldAfterTheFirstRefusal) {
    passwordCommand(unit, kV109, kReadConfigFrame, 0);
    EXPECT_EQ(readOlderLaundry(context).status, OperationStatus::Failed);
    EXPECT_THAT(told(), ElementsAre("askPassword", "message 158 2 0"));
    EXPECT_THAT(pauses, IsEmpty());
}

TEST_F(LegacyOperationsTest, FiveUnansweredAttemptsNameTheUnitOnce) {
    for (int i = 0; i < kPasswordAttempts; ++i) {
        signOn(unit, kV109);
        unit.expect(kReadConfigFrame).silence();
    }
    const OperationResult result = readOlderLaundry(context);
    EXPECT_EQ(result.status, OperationStatus::Failed);
    EXPECT_EQ(result.closingMessage, kTextNoAnswer);
    EXPECT_THAT(pauses, ElementsAre(100ms, 100ms, 100ms, 100ms));
    EXPECT_THAT(told(), ElementsAre("askPassword", "messageText text162 L4 unit"));
}

TEST_F(LegacyOperationsTest, AFailedAttemptIsRetriedAndANegativePasswordGoesOutAsItsTwoBytes) {
    prompts.password = -1;
    signOn(unit, kV109);
    unit.expect(kThirdCommandFrame).reply({0x00});  // wrong acknowledge
    plainCommand(unit, kV109, kThirdCommandFrame);
    unit.expect({0xFF, 0xFF}).reply({1});
    EXPECT_EQ(sendThirdPasswordCommand(context).status, OperationStatus::Ok);
    EXPECT_THAT(pauses, ElementsAre(100ms));
    EXPECT_THAT(told(), ElementsAre("askYesNo 255 0", "askPassword", "message 258 0 0"));
}

TEST_F(LegacyOperationsTest, ACancelledPasswordOrADeclinedWriteSendsNothing) {
    prompts.password.reset();
    EXPECT_EQ(readOlderLaundry(context).status, OperationStatus::Cancelled);
    prompts.yes = false;
    EXPECT_EQ(writeOlderLaundry(context).status, OperationStatus::Cancelled);
    EXPECT_THAT(told(), ElementsAre("askPassword", "askYesNo 255 0"));
    EXPECT_THAT(unit.written, IsEmpty());
}

TEST_F(LegacyOperationsTest, ACancelEndsTheOperationWithoutAWordOrAByte) {
    abort = true;
    EXPECT_EQ(readOlderLaundry(context).status, OperationStatus::Cancelled);
    EXPECT_THAT(unit.written, IsEmpty());
    EXPECT_THAT(prompts.messages, IsEmpty());
}

// --- read

TEST_F(LegacyOperationsTest, ReadFillsTheLegacyImageAndLeavesTheNamesOfAnOlderUnit) {
    passwordCommand(unit, kV109, kReadConfigFrame, 1);
    unit.reply(configStream());
    const OperationResult result = readOlderLaundry(context);
    EXPECT_EQ(result.status, OperationStatus::Ok);
    EXPECT_EQ(result.closingMessage, kMsgReadDone);
    EXPECT_EQ(model::legacyTime(config.legacyConfig, model::lc::kResetDelayTime),
              (model::MinSec{2, 5, 0}));
    EXPECT_EQ(model::legacyPin(config.legacyConfig, 0), 6179);
    EXPECT_EQ(config.progName[0], "old");
    EXPECT_TRUE(doc.isModified());
}

TEST_F(LegacyOperationsTest, AReadThatBreaksOffLeavesTheDocumentAloneAndSaysSo) {
    passwordCommand(unit, kV109, kReadConfigFrame, 1);
    const Bytes stream = configStream();
    unit.reply(Bytes(stream.begin(), stream.begin() + 50)).silence();
    const model::LegacyConfig before = config.legacyConfig;
    EXPECT_EQ(readOlderLaundry(context).status, OperationStatus::Failed);
    EXPECT_EQ(config.legacyConfig, before);
    EXPECT_FALSE(doc.isModified());
    EXPECT_THAT(told(), Contains("messageText text163 L4 unit"));
}

TEST_F(LegacyOperationsTest, ReadOfA110UnitFetchesCommentsThenProgramNames) {
    passwordCommand(unit, kV110, kReadConfigFrame, 1);
    unit.reply(configStream());
    plainCommand(unit, kV110, kGetCommentsFrame);
    unit.reply(packet(0x40, 0, {'C', 'h', 'e'}) + packet(0x40, 3, {'c', 'k', 0}) +
               packet(0x80, 0, {}));
    plainCommand(unit, kV110, kGetNamesFrame);
    unit.reply(packet(0x40, 0, nameBytes("Towels")) + packet(0x40, 25 * 19, nameBytes("Mops")) +
               packet(0x80, 0, {}));
    EXPECT_EQ(readOlderLaundry(context).status, OperationStatus::Ok);
    EXPECT_EQ(config.comments, "Check");
    EXPECT_EQ(config.progName[0], "Towels");
    EXPECT_EQ(config.progName[1], "");
    EXPECT_EQ(config.progName[19], "Mops");
}

TEST_F(LegacyOperationsTest, ANamePacketAtNoProgramsAddressFailsTheReadAndKeepsTheNames) {
    passwordCommand(unit, kV110, kReadConfigFrame, 1);
    unit.reply(configStream());
    plainCommand(unit, kV110, kGetCommentsFrame);
    unit.reply(packet(0x80, 0, {}));
    plainCommand(unit, kV110, kGetNamesFrame);
    unit.reply(packet(0x40, 26, nameBytes("Towels")));
    EXPECT_EQ(readOlderLaundry(context).status, OperationStatus::Failed);
    EXPECT_EQ(config.progName[0], "old");
}

// --- write

TEST_F(LegacyOperationsTest, WriteAsksFirstThenSendsTheStreamAfterThePassword) {
    config.legacyConfig[model::lc::kPumpSpeed] = 80;
    model::setLegacyTime(config.legacyConfig, model::lc::kFlushValveTime, 1, 30);
    passwordCommand(unit, kV109, kWriteConfigFrame, 1);
    const Bytes expected = streamOf(config);
    unit.expect(expected);
    EXPECT_EQ(writeOlderLaundry(context).status, OperationStatus::Ok);
    EXPECT_EQ(expected[44], 80);
    EXPECT_EQ(expected[49], 0x00);  // 1:30 goes out as 0x005A
    EXPECT_EQ(expected[50], 0x5A);
    EXPECT_THAT(told(), ElementsAre("askYesNo 255 0", "askPassword", "message 258 0 0"));
}

TEST_F(LegacyOperationsTest, WriteToA110UnitSendsTwentyNamesThenTheComments) {
    config.comments = std::string(130, 'x');
    passwordCommand(unit, kV110, kWriteConfigFrame, 1);
    unit.expect(streamOf(config));
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
    EXPECT_EQ(writeOlderLaundry(context).status, OperationStatus::Ok);
}

TEST_F(LegacyOperationsTest, ANameTheUnitRefusesEndsTheWriteAsFailed) {
    passwordCommand(unit, kV110, kWriteConfigFrame, 1);
    unit.expect(streamOf(config));
    plainCommand(unit, kV110, kSendNamesFrame);
    unit.expect(packet(0x40, 0, nameBytes("old"))).reply({0x55});
    const OperationResult result = writeOlderLaundry(context);
    EXPECT_EQ(result.status, OperationStatus::Failed);
    EXPECT_EQ(result.closingMessage, kTextWriteFailed);
}

// --- dishwash

TEST_F(LegacyOperationsTest, AnUnacknowledgedReportIsToldAndChangesNothing) {
    signOn(unit, kV109);
    unit.expect(kReportSettingsFrame).silence();
    EXPECT_EQ(readOlderDishwash(context).status, OperationStatus::Failed);
    EXPECT_THAT(told(), ElementsAre("messageText text162 L4 unit"));
    EXPECT_FALSE(doc.isModified());
}

}  // namespace
}  // namespace qelto::comms
