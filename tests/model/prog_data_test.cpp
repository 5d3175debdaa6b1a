#include "model/prog_data.h"

#include <gtest/gtest.h>

namespace qelto::model {
namespace {

class FixedNames final : public PumpNameDefaults {
  public:
    mutable int askedForType = -1;
    std::array<std::string, kPumps> defaultPumpNames(std::uint8_t unitType) const override {
        askedForType = unitType;
        std::array<std::string, kPumps> names;
        for (std::size_t i = 0; i < kPumps; ++i) {
            names[i] = "T" + std::to_string(unitType) + "P" + std::to_string(i + 1);
        }
        return names;
    }
};

CProgData resetRecord() {
    CProgData c;
    c.ResetAll(NoPumpNameDefaults());
    return c;
}

TEST(ProgData, ResetGivesTheDocumentedDefaults) {
    CProgData c;
    FixedNames names;
    c.ResetAll(names);

    EXPECT_EQ(names.askedForType, 3);
    EXPECT_EQ(c.pumpName[0], "T3P1");
    EXPECT_EQ(c.pumpName[9], "T3P10");
    EXPECT_EQ(c.unitType, 3);
    EXPECT_EQ(c.accessCode, 1);
    EXPECT_EQ(c.pin, (std::array<std::uint16_t, 3>{6179, 7159, 7318}));
    EXPECT_EQ(c.resetDelayTime, (MinSec{0, 20, 0}));
    EXPECT_EQ(textOf(c.SerialNoUnit), "000000000");
    EXPECT_EQ(textOf(c.SoftwareVersion), "V-.--");
    EXPECT_EQ(c.ViewMode, 1u);
    EXPECT_EQ(c.optionFlag0, 1u);
    EXPECT_EQ(c.optionFlag1, 1u);
    EXPECT_EQ(c.autofs_time, (MinSec{0, 30, 0}));
    EXPECT_EQ(c.autofs_accept_time, 1);
    EXPECT_EQ(c.resetOption, 2);
    EXPECT_EQ(c.resetProgChoice, 1);
    EXPECT_EQ(c.pumpNamesValid, 1);
    for (std::size_t k = 0; k < kPumps; ++k) {
        EXPECT_EQ(c.pumpSpeed[k], 80);
        EXPECT_EQ(c.pumpCalibration[k], 0u);
        EXPECT_EQ(c.pumpSpeedRange[k], 3u);
    }
    for (std::size_t p = 0; p < kPrograms; ++p) {
        EXPECT_TRUE(c.progName[p].empty());
        for (std::size_t t = 0; t < kTriggers; ++t) {
            EXPECT_EQ(c.pulseCount[p][t], 1);
            for (std::size_t k = 0; k < kPumps; ++k) {
                EXPECT_EQ(c.pumpEnabled[p][t][k], 0);
                EXPECT_EQ(c.programs[p][t][k].runTime, (MinSec{0, 45, 0}));
                EXPECT_EQ(c.programs[p][t][k].delayTime, (MinSec{0, 0, 0}));
            }
        }
    }
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
    EXPECT_EQ(c.legacyConfig[lc::kRunTime], 0);
    EXPECT_EQ(c.legacyConfig[lc::kRunTime + 1], 45);
    EXPECT_EQ(c.legacyConfig[lc::kRunTime + 2], 7);
}

TEST(ProgData, ClearProgramRestoresDefaultsButKeepsDoses) {
    CProgData c = resetRecord();
    c.legacyConfig[lc::kPulseCount] = 2;
    c.legacyConfig[lc::kRunTime + 1] = 50;
    c.legacyConfig[lc::kDelayTime + 2] = 9;
    c.Step(4, 2, 3) = {{5, 5, 0}, {1, 1, 0}, 250};
    c.PumpEnabled(4, 2, 3) = 1;
    c.PulseCount(4, 2) = 7;
    c.Step(5, 0, 0).dose = 77;

    ASSERT_TRUE(c.ClearProgram(4));
    EXPECT_EQ(c.Step(4, 2, 3).runTime, (MinSec{0, 50, 0}));
    EXPECT_EQ(c.Step(4, 2, 3).delayTime, (MinSec{0, 0, 9}));
    EXPECT_EQ(c.Step(4, 2, 3).dose, 250u);
    EXPECT_EQ(c.PumpEnabled(4, 2, 3), 0);
    EXPECT_EQ(c.PulseCount(4, 2), 2);
    EXPECT_EQ(c.Step(5, 0, 0).dose, 77u) << "another program was touched";
    EXPECT_FALSE(c.ClearProgram(20));
}

TEST(ProgData, CopyProgramCopiesStepsFlagsAndPulses) {
    CProgData c = resetRecord();
    c.Step(1, 9, 9) = {{9, 8, 0}, {7, 6, 0}, 1234};
    c.PumpEnabled(1, 9, 9) = 1;
    c.PulseCount(1, 9) = 5;
    c.progName[1] = "Towels";

    ASSERT_TRUE(c.CopyProgram(1, 19));
    EXPECT_EQ(c.Step(19, 9, 9), c.Step(1, 9, 9));
    EXPECT_EQ(c.PumpEnabled(19, 9, 9), 1);
    EXPECT_EQ(c.PulseCount(19, 9), 5);
    EXPECT_TRUE(c.progName[19].empty()) << "names are not part of a program copy";

    const CProgData before = c;
    ASSERT_TRUE(c.CopyProgram(1, 1));
    EXPECT_EQ(c.programs, before.programs);
    EXPECT_EQ(c.pumpEnabled, before.pumpEnabled);

    // Indices are masked to five bits, and what lies beyond the twenty programs is refused.
    EXPECT_TRUE(c.CopyProgram(1 | 0x20, 2));
    EXPECT_FALSE(c.CopyProgram(1, 25));
}

TEST(ProgData, AccessorsRefuseNumbersOutsideTheRecord) {
    CProgData c = resetRecord();
    EXPECT_EQ(&c.PumpSpeed(1), &c.pumpSpeed[0]);
    EXPECT_EQ(&c.PumpCalibration(10), &c.pumpCalibration[9]);
    EXPECT_THROW(c.PumpSpeed(0), std::out_of_range);
    EXPECT_THROW(c.PumpSpeed(11), std::out_of_range);
    EXPECT_THROW(c.Step(20, 0, 0), std::out_of_range);
    EXPECT_THROW(c.PumpEnabled(0, 10, 0), std::out_of_range);
    EXPECT_THROW(c.PulseCount(0, 10), std::out_of_range);

    // The selection bytes can name positions beyond the record; they must not reach memory.
    Selection s;
    s.set(31, 15, 15);
    EXPECT_EQ(s.program(), 31);
    EXPECT_EQ(s.trigger(), 15);
    EXPECT_EQ(s.pump(), 15);
    EXPECT_THROW(c.CurrentStep(s), std::out_of_range);
    s.set(19, 9, 9);
    EXPECT_EQ(&c.CurrentStep(s), &c.programs[19][9][9]);
    EXPECT_EQ(&c.CurrentPulseCount(s), &c.pulseCount[19][9]);
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
