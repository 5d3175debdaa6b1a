#include "protocol/verify.h"

#include <gtest/gtest.h>

namespace qelto::protocol {
namespace {

constexpr DocumentCalibration kAllTimed{};

struct Outcome {
    bool equal = false;
    std::vector<Difference> differences;
};

// Runs both entry points and insists that they agree, so every test below also checks that the
// explaining comparison never changes the verdict.
Outcome verify(const CommsData& editor, const CommsData& unit, VerifyPart part,
               const DocumentCalibration& calibration = kAllTimed) {
    Outcome out;
    out.equal = compareParts(editor, unit, optionOf(part), calibration, out.differences);
    EXPECT_EQ(out.equal, CP(editor, unit, optionOf(part), calibration));
    EXPECT_EQ(out.equal, out.differences.empty());
    return out;
}

std::vector<std::string> fields(const Outcome& outcome) {
    std::vector<std::string> out;
    for (const Difference& d : outcome.differences) {
        out.push_back(d.field);
    }
    return out;
}

CommsData tenPumpRecord() {
    CommsData data;
    data.globals.pumpCount = 10;
    data.globals.block1.unitType = 3;
    for (std::size_t i = 0; i < kCommsPumps; ++i) {
        data.globals.block2.pumpSpeed[i] = 100;
    }
    return data;
}

Difference where(std::string field, int program, int trigger, int pump, std::string unitValue,
                 std::string documentValue) {
    return Difference{std::move(field),        program, trigger, pump, std::move(unitValue),
                      std::move(documentValue)};
}

// --- Globals --------------------------------------------------------------------------------

// Settings the unit may keep on its own, a disabled pump's times and changed run times and names
// are verified against the simulated unit (tests/comms).

// The unit's record says how many pumps count, not the document's.
TEST(VerifyGlobals, OnlyThePumpsOfTheUnitsPumpCountAreCompared) {
    CommsData editor = tenPumpRecord();
    CommsData unit = editor;
    unit.globals.pumpCount = 6;
    unit.globals.block2.pumpSpeed[7] = 40;
    unit.globals.block2.pumpSpeedRange[7] = 2;
    EXPECT_TRUE(verify(editor, unit, VerifyPart::Globals).equal);
    unit.globals.block2.pumpSpeed[5] = 40;  // pump 6 is the unit's last
    EXPECT_FALSE(verify(editor, unit, VerifyPart::Globals).equal);

    editor.globals.pumpCount = 6;
    unit = tenPumpRecord();
    unit.globals.block2.pumpSpeed[7] = 40;
    EXPECT_EQ(verify(editor, unit, VerifyPart::Globals).differences,
              std::vector{where("pump speed", -1, -1, 8, "40%", "100%")});
}

TEST(VerifyGlobals, EveryComparedSettingCounts) {
    using Change = void (*)(CommsData&);
    const std::vector<std::pair<std::string, Change>> changes = {
        {"unit type", [](CommsData& d) { d.globals.block1.unitType = 5; }},
        {"access code", [](CommsData& d) { d.globals.block1.accessCode = 1; }},
        {"reset delay off", [](CommsData& d) { d.globals.block1.resetDelayOff = 1; }},
        {"reset delay from last input",
         [](CommsData& d) { d.globals.block1.resetDelayLastInput = 1; }},
        {"flush valve time", [](CommsData& d) { d.globals.block2.flushValveTime = 90; }},
        {"flush type", [](CommsData& d) { d.globals.block1.flushType = 1; }},
        {"relay mode", [](CommsData& d) { d.globals.block1.relayMode = 1; }},
        {"safety stop mode", [](CommsData& d) { d.globals.block1.safetyStopMode = 1; }},
        {"pump speed", [](CommsData& d) { d.globals.block2.pumpSpeed[0] = 1; }},
        {"pump speed range", [](CommsData& d) { d.globals.block2.pumpSpeedRange[0] = 1; }},
    };
    for (const auto& [field, change] : changes) {
        const CommsData editor = tenPumpRecord();
        CommsData unit = editor;
        change(unit);
        EXPECT_EQ(fields(verify(editor, unit, VerifyPart::Globals)), std::vector{field});
    }
}

// --- Program data ---------------------------------------------------------------------------

ProgPump enabledPump(std::uint8_t minutes, std::uint8_t seconds) {
    ProgPump pump;
    pump.enabled = 1;
    pump.setRunTime(minutes, seconds);
    return pump;
}

TEST(VerifyProgData, APulseCountCountsOnlyWhenTheDocumentEnablesAPumpOfTheTrigger) {
    CommsData editor;
    CommsData unit;
    editor.progData.programs[5][3].setting = 2;
    unit.progData.programs[5][3].setting = 1;
    EXPECT_TRUE(verify(editor, unit, VerifyPart::ProgData).equal);

    editor.progData.programs[5][3].pumps[9] = enabledPump(0, 5);
    unit.progData.programs[5][3].pumps[9] = enabledPump(0, 5);
    EXPECT_EQ(verify(editor, unit, VerifyPart::ProgData).differences,
              std::vector{where("pulse count", 6, 4, -1, "1", "2")});
}

TEST(VerifyProgData, TheDocumentsCalibrationDecidesBetweenRunTimeAndDose) {
    CommsData editor;
    CommsData unit;
    editor.progData.programs[0][0].pumps[3].enabled = 1;
    editor.progData.programs[0][0].pumps[3].setDose(600);
    unit.progData.programs[0][0].pumps[3].enabled = 1;
    unit.progData.programs[0][0].pumps[3].setDose(500);
    unit.calibration.pumps[3].volume = 0;  // the unit's own calibration plays no part

    DocumentCalibration calibrated{};
    calibrated[3] = 120;
    EXPECT_EQ(verify(editor, unit, VerifyPart::ProgData, calibrated).differences,
              std::vector{where("dose", 1, 1, 4, "500 ml", "600 ml")});
    EXPECT_EQ(fields(verify(editor, unit, VerifyPart::ProgData)),
              std::vector<std::string>{"run time"});

    calibrated[3] = 0x10000;  // a volume the unit's 16 bits cannot hold still means dosed
    EXPECT_EQ(fields(verify(editor, unit, VerifyPart::ProgData, calibrated)),
              std::vector<std::string>{"dose"});
}

// --- Names, description, calibration --------------------------------------------------------

// Names are compared up to their first zero; the unit's description exactly, a trailing blank
// included. (A customer name or comment is never compared: tests/comms.)
TEST(VerifyNames, NamesStopAtTheirZeroButTheDescriptionCountsEveryCharacter) {
    CommsData editor;
    CommsData unit;
    setTerminatedText(editor.progNames.names[0], "Towels");
    setTerminatedText(unit.progNames.names[0], "Towels");
    unit.progNames.names[0][10] = 'x';  // left behind after the terminator
    EXPECT_TRUE(verify(editor, unit, VerifyPart::ProgName).equal);
    setSlotText(editor.unitDescription, "Kitchen 2");
    setSlotText(unit.unitDescription, "Kitchen 2 ");
    EXPECT_EQ(fields(verify(editor, unit, VerifyPart::UnitName)),
              std::vector<std::string>{"unit description"});
}

TEST(VerifyCalibration, OnlyTheVolumesCountNotTheDates) {
    CommsData editor;
    CommsData unit;
    editor.calibration.pumps[4] = {600, 1, 2, 19};
    unit.calibration.pumps[4] = {600, 15, 3, 24};
    EXPECT_TRUE(verify(editor, unit, VerifyPart::Calibration).equal);

    unit.calibration.pumps[4].volume = 550;
    unit.calibration.pumps[9].volume = 10;
    EXPECT_EQ(verify(editor, unit, VerifyPart::Calibration).differences,
              (std::vector{where("calibration volume", -1, -1, 5, "550 ml/min", "600 ml/min"),
                           where("calibration volume", -1, -1, 10, "10 ml/min", "0 ml/min")}));
}

// --- Automatic flush and reset-to ------------------------------------------------------------

TEST(VerifyAutoFsAndResetTo, EveryFieldCounts) {
    CommsData editor;
    CommsData unit;
    editor.autoFs = {1, 150, 4};
    unit.autoFs = {2, 90, 5};
    EXPECT_EQ(verify(editor, unit, VerifyPart::AutoFs).differences,
              (std::vector{where("automatic flush mode", -1, -1, -1, "2", "1"),
                           where("automatic flush time", -1, -1, -1, "1:30", "2:30"),
                           where("automatic flush accept time", -1, -1, -1, "5", "4")}));
    // A unit read always yields program choice 1, so any other choice in a document differs.
    editor.resetTo = {3, 0, 0};
    unit.resetTo = {0, 1, 2};
    EXPECT_EQ(fields(verify(editor, unit, VerifyPart::ResetTo)),
              (std::vector<std::string>{"reset-to option", "reset-to program choice",
                                        "reset-to version"}));
}

}  // namespace
}  // namespace qelto::protocol
