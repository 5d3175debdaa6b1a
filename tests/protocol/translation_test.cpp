// The rules of the translation between the document, the communications record and the copy a
// report reads into. The everyday values of a read and a write are checked end to end against
// the simulated unit (tests/comms); these are the edges: clamps, wraps, cuts, and what each
// direction leaves alone.
#include "protocol/translation.h"

#include <gtest/gtest.h>

#include <vector>

namespace qelto::protocol {
namespace {

class Translation : public ::testing::Test {
  protected:
    Translation() { config.ResetAll(model::NoPumpNameDefaults()); }

    void toUnit(int option) { GetFromDocumentView(config, data, option, context); }
    void fromUnit(int option) { UpdateDocumentView(data, config, option, context); }
    void toCopy(int option) { UpdateCommsData(data, copy, config, option); }

    model::CProgData config;
    CommsData data;
    model::CommsCopy copy;
    TranslationContext context;
};

// --- Globals and times ---------------------------------------------------------------------------

// Times travel as seconds; one too long for its minutes is held at the longest, not wrapped.
TEST_F(Translation, ATooLongTimeIsHeldAtTheLongest) {
    data.autoFs.time = 65535;
    fromUnit(COMMS_AUTOFS);
    EXPECT_EQ(config.autofs_time, (model::MinSec{255, 59, 0}));
}

TEST_F(Translation, GlobalsTravelAsTheUnitKeepsThem) {
    // The option flags become bits 0 and 1 of one byte, whatever the document holds.
    const struct {
        std::uint32_t flag0, flag1;
        std::uint8_t wire;
    } flags[] = {{0, 7, 2}, {300, 1, 3}};
    for (const auto& f : flags) {
        config.optionFlag0 = f.flag0;
        config.optionFlag1 = f.flag1;
        toUnit(COMMS_GLOBALS);
        const Packet packet = makeGlobalBlock1(data.globals.block1);
        EXPECT_EQ(packet[25], f.wire);
        EXPECT_EQ(packet[26] | packet[27] | packet[28], 0);
    }
    config.relayMode = 7;
    config.pumpSpeedRange = {3, 0, 1, 2, 7, 3, 3, 3, 3, 3};
    context.language = 5;
    data.globals.block2.words18to21 = {0x1111, 0x2222};
    toUnit(COMMS_GLOBALS);
    EXPECT_EQ(data.globals.block1.relayMode, 1);
    EXPECT_EQ(data.globals.block1.language, 7);
    EXPECT_EQ(data.globals.block2.words18to21, (std::array<std::uint16_t, 2>{0, 0}));
    // Speed range 3 travels as 0, the others one higher; 7 + 1 = 8 wraps to 0.
    const Packet block2 = makeGlobalBlock2(data.globals.block2);
    EXPECT_EQ((std::vector<int>{block2[22], block2[23], block2[24], block2[25], block2[26]}),
              (std::vector<int>{0, 1, 2, 3, 0}));
    context.language = 10;
    context.software107OrNewer = true;
    toUnit(COMMS_GLOBALS);
    EXPECT_EQ(data.globals.block1.language, 9) << "Portuguese for a unit that knows it";
}

TEST_F(Translation, GlobalsReadBackAsFlagsOfZeroOrOneAndRangesOneLower) {
    Packet block1 = makeGlobalBlock1({});
    block1[25] = 0x02;
    data.globals.block1 = *parseGlobalBlock1(block1);
    data.globals.block1.relayMode = 5;
    data.globals.block1.unitType = 2;
    Packet block2 = makeGlobalBlock2({});
    const std::uint8_t wire[] = {0, 1, 2, 3, 0, 0, 0, 0, 0, 0};
    std::copy(std::begin(wire), std::end(wire), block2.bytes.begin() + 22);
    data.globals.block2 = *parseGlobalBlock2(block2);
    fromUnit(COMMS_GLOBALS);
    EXPECT_EQ(config.optionFlag0, 0u);
    EXPECT_EQ(config.optionFlag1, 1u);
    EXPECT_EQ(config.relayMode, 1u);
    EXPECT_EQ(context.pumpCount, std::optional<std::uint8_t>(3)) << "a program read takes the type";
    const std::array<std::uint32_t, 10> ranges{3, 0, 1, 2, 3, 3, 3, 3, 3, 3};
    EXPECT_EQ(config.pumpSpeedRange, ranges);

    // A report read puts the safety stop into the configuration, everything else into the copy.
    data.globals.block1.unitType = 7;
    data.globals.block1.safetyStopMode = 3;
    toCopy(COMMS_GLOBALS);
    EXPECT_EQ(config.SafetyStopMode, 3u);
    EXPECT_EQ(config.unitType, 2) << "the configuration's own unit type is left alone";
    EXPECT_EQ(copy.CommsNPumps, 8);
}

TEST(UnitSerialFromText, ReadsLeadingDigitsAndHoldsABigNumberAtTheLargest) {
    const std::pair<const char*, std::uint32_t> rows[] = {
        {"000012345", 12345u}, {"12A45", 12u}, {" 12", 0u}, {"4294967296", 4294967295u}};
    for (const auto& [text, serial] : rows) {
        EXPECT_EQ(unitSerialFromText(text), serial) << text;
    }
}

// --- Calibration and program data ------------------------------------------------------------

TEST_F(Translation, AnUncalibratedPumpCarriesItsRunTimeAndACalibratedOneItsDoseCutTo16Bits) {
    config.pumpCalibration[3] = 70000;  // 70000 - 65536
    model::PumpStep& step = config.programs[4][2][1];
    step = {{1, 30, 0}, {0, 20, 0}, 300};
    config.pumpEnabled[4][2][1] = 1;
    config.pulseCount[4][2] = 6;
    toUnit(COMMS_CALIBRATION);
    toUnit(COMMS_PROGDATA);
    EXPECT_EQ(data.calibration.pumps[3].volume, 4464);
    const TriggerRecord& trigger = data.progData.programs[4][2];
    EXPECT_EQ(trigger.setting, 6);
    EXPECT_EQ(trigger.pumps[1], (ProgPump{1, 30, 1, 20, 0}));

    config.pumpCalibration[1] = 250;
    toUnit(COMMS_PROGDATA);
    EXPECT_EQ(trigger.pumps[1], (ProgPump{1, 44, 1, 20, 0}));  // 300 = 0x012C
    step.dose = 70000;                                         // 0x11170, cut to 0x1170
    toUnit(COMMS_PROGDATA);
    EXPECT_EQ(trigger.pumps[1].dose16(), 4464);
}

// A program read trusts the unit for enabled pumps and used triggers only, and reads the run
// bytes by the document's calibration.
TEST_F(Translation, AProgramReadKeepsTheDocumentsValuesWhereTheUnitHoldsNone) {
    config.programs[1][0][0].runTime = {2, 0, 0};
    config.pumpEnabled[1][0][0] = 1;
    TriggerRecord& trigger = data.progData.programs[1][0];
    trigger.setting = 4;
    trigger.pumps[0] = {0, 10, 0, 3, 0};
    trigger.pumps[1] = {1, 15, 1, 5, 0};
    data.progData.programs[2][3].setting = 9;  // no pump enabled
    config.pumpCalibration[2] = 100;
    config.programs[0][0][2] = {{0, 45, 0}, {0, 0, 0}, 7};
    data.progData.programs[0][0].pumps[2] = {1, 0x2C, 0x01, 0, 0};
    fromUnit(COMMS_PROGDATA);
    EXPECT_EQ(config.pumpEnabled[1][0][0], 0);  // the flag itself is always taken
    EXPECT_EQ(config.programs[1][0][0].runTime, (model::MinSec{2, 0, 0}));
    EXPECT_EQ(config.programs[1][0][1].runTime, (model::MinSec{1, 15, 0}));
    EXPECT_EQ(config.programs[1][0][1].delayTime, (model::MinSec{0, 5, 0}));
    EXPECT_EQ(config.pulseCount[1][0], 4);
    EXPECT_EQ(config.pulseCount[2][3], 1);
    EXPECT_EQ(config.programs[0][0][2].dose, 300u);
    EXPECT_EQ(config.programs[0][0][2].runTime, (model::MinSec{0, 45, 0}));
}

// A report read takes every pump by the unit's own calibration and leaves the document alone:
// tests/comms, against the simulated unit.

// --- Texts and identity ------------------------------------------------------------------------

// The unit's description holds 17 characters, the document's 16.
TEST_F(Translation, ASeventeenCharacterDescriptionFromTheUnitIsCutToTheDocuments16) {
    data.unitDescription.fill('u');
    toCopy(COMMS_UNITNAME);  // a report read writes the description into the configuration
    EXPECT_EQ(model::textOf(config.unitDescription), std::string(16, 'u'));
    EXPECT_EQ(config.unitDescription[16], '\0');
}

// Comments travel in blocks of 25 characters, at most 100 of them.
TEST_F(Translation, ACommentGoesInBlocksAndComesBackWholeUpTo100Blocks) {
    const std::pair<std::size_t, int> blocksForLength[] = {{2500, 100}, {26, 2}, {0, 0}};
    for (const auto& [length, blocks] : blocksForLength) {
        EXPECT_EQ(commentsFromText(std::string(length, 'z')).count, blocks) << length;
    }
    std::string text;
    for (int i = 0; i < 104; ++i) {
        text += std::string(25, static_cast<char>('A' + i % 26));
    }
    config.comments = text;
    toUnit(COMMS_COMMENTS);
    config.comments.clear();
    fromUnit(COMMS_COMMENTS);
    toCopy(COMMS_COMMENTS);
    EXPECT_EQ(config.comments, text.substr(0, 2500));
    EXPECT_EQ(copy.comments, config.comments);
    CommentsPart part = commentsFromText("abc");
    setSlotText(part.blocks[1], "stale");
    EXPECT_EQ(commentsText(part), "abc") << "only the counted blocks are joined";
}

// A processor serial of ten digits does not fit the document's nine, but the copy keeps it.
TEST_F(Translation, TheIdentityGivesTypeVersionAndSerialsToDocumentAndCopy) {
    data.identity.unit.unitTypeIndex = 9;
    data.identity.unit.version = {'1', '0', '7'};
    data.identity.unit.serial = 4000000001u;
    data.identity.unit.cpuSerial = 4000000000u;
    fromUnit(COMMS_ACK);
    toCopy(COMMS_ACK);
    EXPECT_EQ(context.pumpCount, std::optional<std::uint8_t>(10));
    EXPECT_EQ(model::textOf(config.SerialNoCPU), "");
    EXPECT_EQ(model::textOf(copy.SerialNoCPU), "4000000000");
    EXPECT_EQ(model::textOf(copy.SoftwareVersion), "V1.07");
}

// What a report read leaves alone and where the unit's clock goes are checked against the
// simulated unit (tests/comms).

}  // namespace
}  // namespace qelto::protocol
