// A program read from the simulated unit through the real serial code: what the document holds
// afterwards, what was sent, and what the engineer was shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "driver_on_sim.h"

namespace qelto {
namespace {

using namespace comms;

using test::unitMemory;

class ReadProgramFromUnit : public test::DriverOnSim {
  protected:
    OperationResult read(bool clockOnly = false) {
        OperationContext c = context();
        OperationResult result = readProgram(c, clockOnly);
        EXPECT_FALSE(clockOnly) << "the clock-only flag belongs to one operation";
        return result;
    }
};

TEST_F(ReadProgramFromUnit, AFullReadPutsWhatTheUnitHoldsIntoTheDocumentStageByStage) {
    start(unitMemory());
    config.comments = "old notes";  // replaced, as appending is off
    const OperationResult result = read();

    EXPECT_EQ(result.status, OperationStatus::Ok);
    EXPECT_EQ(result.closingMessage, kMsgReadDone);
    EXPECT_TRUE(result.unitLocked);

    EXPECT_EQ(model::textOf(config.SerialNoUnit), "123456789");
    EXPECT_EQ(config.identitySource, model::IdentitySource::UnitRead);
    EXPECT_EQ(model::textOf(config.SoftwareVersion), "V1.30");
    EXPECT_EQ(config.unitType, 3);
    EXPECT_EQ(doc.pumpCount(), model::unitPumpCount(3));
    EXPECT_EQ(model::textOf(config.unitDescription), "Wash line 3");
    EXPECT_EQ(config.pumpCalibration[0], 0u);
    EXPECT_EQ(config.pumpCalibration[1], 120u);
    EXPECT_EQ(config.pin, (std::array<std::uint16_t, 3>{1111, 2222, 3333}));
    EXPECT_EQ(config.accessCode, 2);
    EXPECT_EQ(config.resetDelayTime.minutes, 1);
    EXPECT_EQ(config.resetDelayTime.seconds, 30);
    EXPECT_EQ(config.flushValveTime.seconds, 45);
    EXPECT_EQ(config.pumpSpeed[0], 55);
    EXPECT_EQ(config.pumpSpeed[1], 65);

    EXPECT_EQ(config.pulseCount[0][0], 3);
    EXPECT_EQ(config.pumpEnabled[0][0][0], 1);
    EXPECT_EQ(config.programs[0][0][0].runTime.minutes, 1);
    EXPECT_EQ(config.programs[0][0][0].runTime.seconds, 30);
    EXPECT_EQ(config.programs[0][0][0].delayTime.seconds, 5);
    EXPECT_EQ(config.programs[0][0][1].dose, 300u) << "a calibrated pump carries a dose";
    EXPECT_EQ(config.pumpEnabled[4][2][2], 1);
    EXPECT_EQ(config.programs[4][2][2].delayTime.minutes, 2);
    EXPECT_EQ(config.pumpEnabled[4][2][0], 0);

    EXPECT_EQ(config.progName[0], "Towels");
    EXPECT_EQ(config.progName[1], "Sheets");
    EXPECT_EQ(config.pumpName[0], "Detergent");
    EXPECT_EQ(config.pumpName[1], "Bleach");
    EXPECT_EQ(model::textOf(config.customerName1), "Hotel Sud");
    EXPECT_EQ(model::textOf(config.customerName2), "Laundry 2");
    EXPECT_EQ(config.comments, "Checked by the engineer on site.");
    EXPECT_EQ(config.autofs_mode, 1u);
    EXPECT_EQ(config.autofs_time.minutes, 1);
    EXPECT_EQ(config.autofs_time.seconds, 30);
    EXPECT_EQ(config.autofs_accept_time, 2);
    EXPECT_EQ(config.resetOption, 2) << "a reset to program 01";
    EXPECT_EQ(config.resetProgChoice, 1);
    EXPECT_EQ(config.FSVersion, 3);
    EXPECT_FALSE(doc.commsCopy().UnitTimeText.empty());

    // Each stage, then the closing message; the remembered PIN, unlocked first and locked last.
    EXPECT_EQ(prompts.optionsAsked, 1);
    EXPECT_EQ(prompts.statuses, (std::vector<std::string>{"text 406", "text 410", "text 408",
                                                          "text 240", "text 409", ""}));
    EXPECT_EQ(hints, std::vector<model::DocHint>{model::DocHint::Opened});
    EXPECT_EQ(prompts.messages, std::vector<int>{kMsgReadDone});
    EXPECT_EQ(prompts.icons, std::vector<MessageIcon>{MessageIcon::Information});
    EXPECT_EQ(std::count(prompts.calls.begin(), prompts.calls.end(), "askPin"), 0);
    EXPECT_EQ(pollCommands().front(), protocol::CMD_UNLOCK);
    EXPECT_EQ(pollCommands().back(), protocol::CMD_LOCK);
    EXPECT_TRUE(sent(protocol::CMD_GET_RESET_TO));
}

TEST_F(ReadProgramFromUnit, AClockOnlyReadSendsOnlyUnlockClockAndLock) {
    start(unitMemory());
    const OperationResult result = read(true);
    EXPECT_EQ(pollCommands(), (std::vector<int>{protocol::CMD_UNLOCK, protocol::CMD_GET_UNIT_TIME,
                                                protocol::CMD_LOCK}));
    EXPECT_EQ(prompts.optionsAsked, 0);
    // The closing message says what the clock shows, not that a document was read.
    EXPECT_EQ(result.closingMessage, kMsgClockRead);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(doc.commsCopy().UnitTimeText.empty());
    EXPECT_NE(std::find(prompts.calls.begin(), prompts.calls.end(), "messageText text 3062"),
              prompts.calls.end());
    EXPECT_EQ(config.progName[0], "") << "nothing but the clock is taken";
}

TEST_F(ReadProgramFromUnit, MergedCommentsOverTheLimitAreCutAndTheEngineerWarned) {
    // 79 full blocks and one of 16: 1991 characters from the unit.
    nlohmann::json memory = unitMemory();
    memory["comments"] = nlohmann::json::array();
    for (int i = 0; i < 79; ++i) {
        memory["comments"].push_back(std::string(25, 'u'));
    }
    memory["comments"].push_back(std::string(15, 'u') + "Z");
    start(memory);
    config.comments = "123456789";
    prompts.options->bAppendComments = true;

    const OperationResult result = read();
    EXPECT_EQ(result.status, OperationStatus::Ok);
    EXPECT_EQ(result.closingMessage, kMsgReadCommentsCut);
    EXPECT_EQ(prompts.icons, std::vector<MessageIcon>{MessageIcon::Warning});
    ASSERT_EQ(config.comments.size(), 2000u);
    EXPECT_EQ(config.comments.substr(0, 10), "123456789\n");
    EXPECT_EQ(config.comments.back(), 'u');
}

TEST_F(ReadProgramFromUnit, AnOlderUnitIsNotAskedForItsResetToSetting) {
    start(unitMemory("1.0.4"));
    config.resetOption = 7;
    const OperationResult result = read();
    EXPECT_EQ(result.closingMessage, kMsgReadDone);
    EXPECT_FALSE(sent(protocol::CMD_GET_RESET_TO));
    EXPECT_EQ(config.resetOption, 7);
}

TEST_F(ReadProgramFromUnit, CancelledOptionsReadNothingButLeaveTheUnitLocked) {
    start(unitMemory());
    prompts.options.reset();
    const OperationResult result = read();
    EXPECT_EQ(result.status, OperationStatus::Cancelled);
    EXPECT_EQ(result.closingMessage, 0);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(pollCommands(), std::vector<int>{protocol::CMD_LOCK});
}

TEST_F(ReadProgramFromUnit, AGetWithoutAnswerFailsTheReadAndLeavesItsPartAlone) {
    start(unitMemory(), {"--silent-after", "2"});
    model::setText(config.unitDescription, "mine");
    prompts.options = Options{};
    prompts.options->bDescription = true;

    const OperationResult result = read();
    EXPECT_EQ(result.status, OperationStatus::Failed);
    EXPECT_EQ(result.closingMessage, kMsgReadFailed);
    EXPECT_EQ(prompts.icons, std::vector<MessageIcon>{MessageIcon::Error});
    EXPECT_FALSE(result.unitLocked);
    EXPECT_EQ(model::textOf(config.unitDescription), "mine");
}

}  // namespace
}  // namespace qelto
