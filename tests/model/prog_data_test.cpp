#include "model/prog_data.h"

#include <gtest/gtest.h>

// The reset values of every compared field are config_diff_test.cpp's first column; the pump
// names a reset takes, chemical_catalogue_test.cpp's.

namespace qelto::model {
namespace {

CProgData resetRecord() {
    CProgData c;
    c.ResetAll(NoPumpNameDefaults());
    return c;
}

TEST(ProgData, ResetKeepsBatchMembersAndTheUnitsOwnLegacyBytes) {
    CProgData c;
    c.batchJobName = "SO-1234";
    c.batchSize = 12;
    c.batchCounter = 3;
    c.legacyConfig[lc::kLegacyByte64] = 0x5A;
    c.legacyConfig[lc::kRunTime + 2] = 7;
    c.ResetAll(NoPumpNameDefaults());
    EXPECT_EQ(c.batchJobName, "SO-1234");
    EXPECT_EQ(c.batchSize, 12u);
    EXPECT_EQ(c.batchCounter, 3u);
    EXPECT_EQ(c.legacyConfig[lc::kLegacyByte64], 0x5A);
    EXPECT_EQ(c.legacyConfig[lc::kRunTime + 1], 45);
    EXPECT_EQ(c.legacyConfig[lc::kRunTime + 2], 7);
}

TEST(ProgData, ClearProgramRestoresDefaultsButKeepsDoses) {
    CProgData c = resetRecord();
    c.legacyConfig[lc::kPulseCount] = 2;
    c.legacyConfig[lc::kRunTime + 1] = 50;
    c.legacyConfig[lc::kDelayTime + 2] = 9;
    c.Step(4, 2, 3) = {{5, 5, 0}, {1, 1, 0}, 250};
    c.pumpEnabledAt(4, 2, 3) = 1;
    c.pulseCountAt(4, 2) = 7;
    c.Step(5, 0, 0).dose = 77;

    ASSERT_TRUE(c.ClearProgram(4));
    EXPECT_EQ(c.Step(4, 2, 3).runTime, (MinSec{0, 50, 0}));
    EXPECT_EQ(c.Step(4, 2, 3).delayTime, (MinSec{0, 0, 9}));
    EXPECT_EQ(c.Step(4, 2, 3).dose, 250u);
    EXPECT_EQ(c.pumpEnabledAt(4, 2, 3), 0);
    EXPECT_EQ(c.pulseCountAt(4, 2), 2);
    EXPECT_EQ(c.Step(5, 0, 0).dose, 77u) << "another program was touched";
    EXPECT_FALSE(c.ClearProgram(20));
}

TEST(ProgData, CopyProgramCopiesStepsFlagsAndPulses) {
    CProgData c = resetRecord();
    c.Step(1, 9, 9) = {{9, 8, 0}, {7, 6, 0}, 1234};
    c.pumpEnabledAt(1, 9, 9) = 1;
    c.pulseCountAt(1, 9) = 5;
    c.progName[1] = "Towels";

    ASSERT_TRUE(c.CopyProgram(1, 19));
    EXPECT_EQ(c.Step(19, 9, 9), c.Step(1, 9, 9));
    EXPECT_EQ(c.pumpEnabledAt(19, 9, 9), 1);
    EXPECT_EQ(c.pulseCountAt(19, 9), 5);
    EXPECT_TRUE(c.progName[19].empty()) << "names are not part of a program copy";

    // Indices are masked to five bits, and what lies beyond the twenty programs is refused.
    EXPECT_TRUE(c.CopyProgram(1 | 0x20, 2));
    EXPECT_FALSE(c.CopyProgram(1, 25));
}

TEST(ProgData, AccessorsRefuseNumbersOutsideTheRecord) {
    CProgData c = resetRecord();
    EXPECT_THROW(c.pumpSpeedOf(11), std::out_of_range);
    EXPECT_THROW(c.Step(20, 0, 0), std::out_of_range);

    // The selection bytes can name positions beyond the record; they must not reach memory.
    Selection s;
    s.set(31, 15, 15);
    EXPECT_THROW(c.currentStep(s), std::out_of_range);
    s.set(19, 9, 9);
    EXPECT_EQ(&c.currentStep(s), &c.programs[19][9][9]);
    EXPECT_EQ(&c.currentPulseCount(s), &c.pulseCount[19][9]);
}

TEST(ProgData, FixedTextsStayTerminated) {
    FixedText<6> version{};
    setText(version, "V1.234567");
    EXPECT_EQ(textOf(version), "V1.23");
    EXPECT_EQ(version[5], '\0');
    // A field filled to its last byte (as a unit or a file may leave it) still reads bounded.
    version.fill('x');
    EXPECT_EQ(textOf(version), "xxxxxx");
}

}  // namespace
}  // namespace qelto::model
