// Verify against the simulated unit: a document read from a unit matches it, a changed setting
// that the unit holds is found and described, a setting the unit may keep on its own is not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver_on_sim.h"

namespace qelto {
namespace {

using namespace comms;
using namespace protocol;
using test::unitMemory;

class VerifyUnit : public test::DriverOnSim {
  protected:
    // The document as the unit holds it: a full read first.
    void readUnitIntoDocument() {
        OperationContext c = context();
        bool clockOnly = false;
        ASSERT_EQ(readProgram(c, clockOnly).status, OperationStatus::Ok);
        prompts = test::ScriptedPrompts{};
        prompts.options = allOptions();
    }

    OperationResult verify() {
        OperationContext c = context();
        return verifyProgram(c);
    }

    std::vector<std::string> described(const OperationResult& result) {
        std::vector<std::string> lines;
        for (const Difference& d : result.differences) {
            lines.push_back(describe(d));
        }
        return lines;
    }
};

// A document read from the unit matches it; settings the unit may keep on its own never fail a
// verify; every changed setting that counts is listed, not only the first.
TEST_F(VerifyUnit, ADocumentReadFromTheUnitMatchesItUntilASettingThatCountsChanges) {
    start(unitMemory());
    readUnitIntoDocument();
    OperationResult result = verify();
    EXPECT_EQ(result.status, OperationStatus::Ok);
    EXPECT_EQ(result.closingMessage, kMsgVerifyMatched);
    EXPECT_EQ(result.verified, true);
    EXPECT_TRUE(result.unitLocked);
    EXPECT_EQ(described(result), std::vector<std::string>{});
    EXPECT_EQ(prompts.optionsAsked, 1);
    EXPECT_EQ(pollCommands().front(), CMD_UNLOCK);
    EXPECT_EQ(pollCommands().back(), CMD_LOCK);

    config.pin[0] = 9999;
    model::setText(config.customerName1, "Another hotel");
    config.comments = "Different notes";
    config.programs[0][0][5].runTime = {9, 9};  // pump 6 is disabled
    EXPECT_EQ(verify().closingMessage, kMsgVerifyMatched);

    config.programs[0][0][0].runTime = {2, 0};
    config.progName[1] = "sheets";
    config.pumpName[0] = "Soap";
    result = verify();
    EXPECT_EQ(result.status, OperationStatus::Failed);
    EXPECT_EQ(result.closingMessage, kMsgVerifyMismatch);
    EXPECT_EQ(result.verified, false);
    ASSERT_EQ(result.differences.size(), 3u) << ::testing::PrintToString(described(result));
    EXPECT_EQ(result.differences[0].program, 2) << "program names come first";
    EXPECT_EQ(result.differences[1].program, 1);
    EXPECT_EQ(result.differences[1].trigger, 1);
    EXPECT_EQ(result.differences[1].pump, 1);
    EXPECT_EQ(result.differences[2].pump, 1);
    EXPECT_TRUE(result.unitLocked);
}

TEST_F(VerifyUnit, TheResetToSettingCountsFrom107AndIsNotAskedBefore105) {
    for (const std::string version : {"1.0.4", "1.0.6", "1.0.7"}) {
        SCOPED_TRACE(version);
        start(unitMemory(version));
        doc.onNewDocument();
        readUnitIntoDocument();
        config.resetOption = 9;
        const OperationResult result = verify();
        EXPECT_EQ(result.verified, version == "1.0.7" ? false : true);
        EXPECT_EQ(sent(CMD_GET_RESET_TO), version != "1.0.4");
        sim.reset();
    }
}

TEST_F(VerifyUnit, CancelledOptionsCompareNothingAndLockTheUnit) {
    start(unitMemory());
    prompts.options.reset();
    const OperationResult result = verify();
    EXPECT_EQ(result.status, OperationStatus::Cancelled);
    EXPECT_FALSE(result.verified.has_value());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(pollCommands(), std::vector<int>{CMD_LOCK});
}

}  // namespace
}  // namespace qelto
