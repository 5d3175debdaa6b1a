#include "protocol/translation.h"

#include <gtest/gtest.h>

#include "model/qelto_doc.h"

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

// --- Times -------------------------------------------------------------------------------

TEST_F(Translation, AResetDelayOfOneMinuteThirtyTravelsAsNinetySeconds) {
    config.resetDelayTime = {1, 30, 0};
    config.auxTime = {2, 5, 0};
    config.flushValveTime = {0, 45, 0};
    toUnit(COMMS_GLOBALS);
    EXPECT_EQ(data.globals.block1.resetDelayTime, 90);
    EXPECT_EQ(data.globals.block1.auxTime, 125);
    EXPECT_EQ(data.globals.block2.flushValveTime, 45);
}

TEST_F(Translation, NinetySecondsReadBackAsOneMinuteThirtyInDocumentAndCopy) {
    data.globals.block1.resetDelayTime = 90;
    data.globals.block2.flushValveTime = 600;
    fromUnit(COMMS_GLOBALS);
    toCopy(COMMS_GLOBALS);
    EXPECT_EQ(config.resetDelayTime, (model::MinSec{1, 30, 0}));
    EXPECT_EQ(copy.resetDelayTime, (model::MinSec{1, 30, 0}));
    EXPECT_EQ(config.flushValveTime, (model::MinSec{10, 0, 0}));
}

TEST_F(Translation, ATimeTooLongForItsMinutesIsHeldAtTheLongestRatherThanWrapped) {
    data.autoFs.time = 65535;
    fromUnit(COMMS_AUTOFS);
    EXPECT_EQ(config.autofs_time, (model::MinSec{255, 59, 0}));
}

// --- Globals -----------------------------------------------------------------------------

TEST(UnitLanguage, FollowsTheUnitsOwnNumbering) {
    const std::uint8_t expected[] = {0, 2, 1, 3, 7, 6, 5, 8, 4};
    for (int language = 1; language <= 9; ++language) {
        EXPECT_EQ(unitLanguageCode(language, false), expected[language - 1]) << language;
        EXPECT_EQ(unitLanguageCode(language, true), expected[language - 1]) << language;
    }
}

TEST(UnitLanguage, PortugueseNeedsSoftware107OrNewerAndUnknownLanguagesAreEnglish) {
    EXPECT_EQ(unitLanguageCode(10, true), 9);
    EXPECT_EQ(unitLanguageCode(10, false), 0);
    EXPECT_EQ(unitLanguageCode(0, true), 0);
    EXPECT_EQ(unitLanguageCode(11, true), 0);
    EXPECT_EQ(unitLanguageCode(-3, true), 0);
}

TEST_F(Translation, TheGlobalsCarryTheLanguageOfTheApplicationSetting) {
    context.language = 5;
    toUnit(COMMS_GLOBALS);
    EXPECT_EQ(data.globals.block1.language, 7);
    context.language = 10;
    context.software107OrNewer = true;
    toUnit(COMMS_GLOBALS);
    EXPECT_EQ(data.globals.block1.language, 9);
}

TEST_F(Translation, OptionFlagsBecomeBitsZeroAndOneOfTheOptionByte) {
    const struct {
        std::uint32_t flag0, flag1;
        std::uint8_t wire;
    } cases[] = {{0, 0, 0}, {1, 0, 1}, {0, 7, 2}, {300, 1, 3}};
    for (const auto& c : cases) {
        config.optionFlag0 = c.flag0;
        config.optionFlag1 = c.flag1;
        toUnit(COMMS_GLOBALS);
        const Packet packet = makeGlobalBlock1(data.globals.block1);
        EXPECT_EQ(packet[25], c.wire);
        EXPECT_EQ(packet[26] | packet[27] | packet[28], 0);
    }
}

TEST_F(Translation, TheOptionByteReadsBackAsFlagsOfZeroOrOne) {
    Packet reply = makeGlobalBlock1({});
    reply[25] = 0x02;
    data.globals.block1 = *parseGlobalBlock1(reply);
    fromUnit(COMMS_GLOBALS);
    EXPECT_EQ(config.optionFlag0, 0u);
    EXPECT_EQ(config.optionFlag1, 1u);
    reply[25] = 0xFF;
    data.globals.block1 = *parseGlobalBlock1(reply);
    toCopy(COMMS_GLOBALS);
    EXPECT_EQ(copy.optionFlag0, 1u);
    EXPECT_EQ(copy.optionFlag1, 1u);
}

TEST_F(Translation, RelayModeTravelsAndReturnsAsZeroOrOne) {
    config.relayMode = 7;
    toUnit(COMMS_GLOBALS);
    EXPECT_EQ(data.globals.block1.relayMode, 1);
    data.globals.block1.relayMode = 5;
    fromUnit(COMMS_GLOBALS);
    EXPECT_EQ(config.relayMode, 1u);
    data.globals.block1.relayMode = 0;
    toCopy(COMMS_GLOBALS);
    EXPECT_EQ(copy.relayMode, 0u);
}

TEST_F(Translation, SpeedRangeThreeTravelsAsZeroAndTheOthersOneHigher) {
    config.pumpSpeedRange = {3, 0, 1, 2, 7, 3, 3, 3, 3, 3};
    toUnit(COMMS_GLOBALS);
    const Packet packet = makeGlobalBlock2(data.globals.block2);
    EXPECT_EQ(packet[22], 0);
    EXPECT_EQ(packet[23], 1);
    EXPECT_EQ(packet[24], 2);
    EXPECT_EQ(packet[25], 3);
    EXPECT_EQ(packet[26], 0);  // 7 + 1 = 8, and 8 mod 4 = 0
}

TEST_F(Translation, WireSpeedRangeZeroReadsBackAsThree) {
    Packet reply = makeGlobalBlock2({});
    const std::uint8_t wire[] = {0, 1, 2, 3, 0, 0, 0, 0, 0, 0};
    for (std::size_t i = 0; i < 10; ++i) {
        reply[22 + i] = wire[i];
    }
    data.globals.block2 = *parseGlobalBlock2(reply);
    fromUnit(COMMS_GLOBALS);
    toCopy(COMMS_GLOBALS);
    const std::array<std::uint32_t, 10> ranges{3, 0, 1, 2, 3, 3, 3, 3, 3, 3};
    EXPECT_EQ(config.pumpSpeedRange, ranges);
    EXPECT_EQ(copy.pumpSpeedRange, ranges);
}

TEST_F(Translation, GlobalsCarryUnitTypePumpCountSafetyStopAndTheParsedSerial) {
    config.unitType = 5;
    config.SafetyStopMode = 2;
    model::setText(config.SerialNoUnit, "000012345");
    data.globals.block2.words18to21 = {0x1111, 0x2222};
    toUnit(COMMS_GLOBALS);
    EXPECT_EQ(data.globals.block1.unitType, 5);
    EXPECT_EQ(data.globals.pumpCount, 6);
    EXPECT_EQ(data.globals.block1.safetyStopMode, 2);
    EXPECT_EQ(data.globals.block1.unitSerial, 12345u);
    EXPECT_EQ(data.globals.block2.words18to21, (std::array<std::uint16_t, 2>{0, 0}));
}

TEST_F(Translation, AReportReadPutsSafetyStopIntoTheConfigurationAndThePumpCountIntoTheCopy) {
    data.globals.block1.unitType = 7;
    data.globals.block1.safetyStopMode = 3;
    data.globals.block1.pins = {1111, 2222, 3333};
    toCopy(COMMS_GLOBALS);
    EXPECT_EQ(config.SafetyStopMode, 3u);
    EXPECT_EQ(config.unitType, 3);  // the configuration's own unit type is left alone
    EXPECT_EQ(copy.unitType, 7);
    EXPECT_EQ(copy.CommsNPumps, 8);
    EXPECT_EQ(copy.pin, (std::array<std::uint16_t, 3>{1111, 2222, 3333}));
}

TEST_F(Translation, AProgramReadOfTheGlobalsTellsThePumpCountOfTheNewUnitType) {
    data.globals.block1.unitType = 2;
    fromUnit(COMMS_GLOBALS);
    EXPECT_EQ(config.unitType, 2);
    EXPECT_EQ(context.pumpCount, std::optional<std::uint8_t>(3));
}

TEST(UnitSerialFromText, ReadsLeadingDigitsAndStopsAtAnythingElse) {
    EXPECT_EQ(unitSerialFromText("000012345"), 12345u);
    EXPECT_EQ(unitSerialFromText("12A45"), 12u);
    EXPECT_EQ(unitSerialFromText(" 12"), 0u);
    EXPECT_EQ(unitSerialFromText(""), 0u);
    EXPECT_EQ(unitSerialFromText("4294967295"), 4294967295u);
}

TEST(UnitSerialFromText, ANumberBeyond32BitsIsHeldAtTheLargest) {
    EXPECT_EQ(unitSerialFromText("4294967296"), 4294967295u);
    EXPECT_EQ(unitSerialFromText("9999999999999999999"), 4294967295u);
}

// --- Calibration and program data ---------------------------------------------------------

TEST_F(Translation, CalibrationIsCutTo16BitsAndItsDateStaysWithTheUnit) {
    config.pumpCalibration[0] = 70000;  // 70000 - 65536
    config.pumpCalibration[9] = 250;
    toUnit(COMMS_CALIBRATION);
    EXPECT_EQ(data.calibration.pumps[0].volume, 4464);
    EXPECT_EQ(data.calibration.pumps[9].volume, 250);

    data.calibration.pumps[3] = {1234, 15, 3, 19};
    fromUnit(COMMS_CALIBRATION);
    toCopy(COMMS_CALIBRATION);
    EXPECT_EQ(config.pumpCalibration[3], 1234u);
    EXPECT_EQ(copy.pumpCalibration[3], 1234u);
}

TEST_F(Translation, AnUncalibratedPumpCarriesItsRunTimeAndACalibratedOneItsDose) {
    model::PumpStep& step = config.programs[4][2][1];
    step = {{1, 30, 0}, {0, 20, 0}, 300};
    config.pumpEnabled[4][2][1] = 1;
    config.pulseCount[4][2] = 6;
    toUnit(COMMS_PROGDATA);
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

TEST_F(Translation, DisabledPumpsTravelToTheUnitToo) {
    config.programs[0][0][9] = {{2, 5, 0}, {0, 7, 0}, 0};
    toUnit(COMMS_PROGDATA);
    EXPECT_EQ(data.progData.programs[0][0].pumps[9], (ProgPump{0, 5, 2, 7, 0}));
    EXPECT_EQ(data.progData.programs[19][9].pumps[0], (ProgPump{0, 45, 0, 0, 0}));
}

TEST_F(Translation, AfterAProgramReadADisabledPumpKeepsTheDocumentsRunTime) {
    config.programs[1][0][0].runTime = {2, 0, 0};
    config.programs[1][0][1].runTime = {2, 0, 0};
    config.pumpEnabled[1][0][0] = 1;
    TriggerRecord& trigger = data.progData.programs[1][0];
    trigger.setting = 4;
    trigger.pumps[0] = {0, 10, 0, 3, 0};
    trigger.pumps[1] = {1, 15, 1, 5, 0};
    fromUnit(COMMS_PROGDATA);
    EXPECT_EQ(config.pumpEnabled[1][0][0], 0);  // the flag itself is always taken
    EXPECT_EQ(config.programs[1][0][0].runTime, (model::MinSec{2, 0, 0}));
    EXPECT_EQ(config.programs[1][0][1].runTime, (model::MinSec{1, 15, 0}));
    EXPECT_EQ(config.programs[1][0][1].delayTime, (model::MinSec{0, 5, 0}));
    EXPECT_EQ(config.pulseCount[1][0], 4);
}

TEST_F(Translation, AProgramReadTakesPulseCountsOnlyForTriggersWithAnEnabledPump) {
    data.progData.programs[2][3].setting = 9;  // no pump enabled
    fromUnit(COMMS_PROGDATA);
    EXPECT_EQ(config.pulseCount[2][3], 1);
}

TEST_F(Translation, AProgramReadReadsTheRunBytesByTheDocumentsCalibration) {
    config.pumpCalibration[2] = 100;
    config.programs[0][0][2] = {{0, 45, 0}, {0, 0, 0}, 7};
    data.progData.programs[0][0].pumps[2] = {1, 0x2C, 0x01, 0, 0};
    fromUnit(COMMS_PROGDATA);
    EXPECT_EQ(config.programs[0][0][2].dose, 300u);
    EXPECT_EQ(config.programs[0][0][2].runTime, (model::MinSec{0, 45, 0}));
}

TEST_F(Translation, AfterAReportReadTheCopyHoldsEveryPumpByItsOwnCalibration) {
    config.pumpCalibration[0] = 100;  // the document's calibration plays no part
    copy.pumpCalibration[1] = 100;
    copy.programActive.fill(1);
    TriggerRecord& trigger = data.progData.programs[5][9];
    trigger.setting = 3;
    trigger.pumps[0] = {0, 10, 2, 4, 0};
    trigger.pumps[1] = {0, 0x2C, 0x01, 0, 1};
    toCopy(COMMS_PROGDATA);
    EXPECT_EQ(copy.programs[5][9][0].runTime, (model::MinSec{2, 10, 0}));
    EXPECT_EQ(copy.programs[5][9][0].delayTime, (model::MinSec{0, 4, 0}));
    EXPECT_EQ(copy.programs[5][9][1].dose, 300u);
    EXPECT_EQ(copy.programs[5][9][1].delayTime, (model::MinSec{1, 0, 0}));
    EXPECT_EQ(copy.pulseCount[5][9], 3);
    EXPECT_EQ(copy.pulseCount[0][0], 0);
    EXPECT_EQ(config.programs[5][9][0].runTime, (model::MinSec{0, 45, 0}));
    // No pump enabled anywhere: the stale marks are cleared, the spare entry included.
    EXPECT_EQ(copy.programActive, (std::array<std::uint8_t, model::kProgramActiveFlags>{}));
}

TEST_F(Translation, AReportReadMarksEveryProgramWithAnEnabledPump) {
    data.progData.programs[0][9].pumps[9].enabled = 1;
    data.progData.programs[19][0].pumps[0].enabled = 1;
    toCopy(COMMS_PROGDATA);
    std::array<std::uint8_t, model::kProgramActiveFlags> expected{};
    expected[0] = 1;
    expected[19] = 1;
    EXPECT_EQ(copy.programActive, expected);
    EXPECT_EQ(copy.pumpEnabled[0][9][9], 1);
}

// --- Texts -------------------------------------------------------------------------------

TEST_F(Translation, NamesTravelInSlotsOfAtMost25Characters) {
    config.progName[19] = std::string(30, 'p');
    config.pumpName[0] = "Alkali";
    toUnit(COMMS_PROGNAME);
    toUnit(COMMS_PUMPNAME);
    EXPECT_EQ(slotText(data.progNames.names[19]), std::string(25, 'p'));
    EXPECT_EQ(slotText(data.pumpNames.names[0]), "Alkali");

    data.pumpNames.names[9].fill('n');  // a slot with no terminator at all
    fromUnit(COMMS_PUMPNAME);
    toCopy(COMMS_PROGNAME);
    EXPECT_EQ(config.pumpName[9], std::string(25, 'n'));
    EXPECT_EQ(copy.progName[19], std::string(25, 'p'));
}

TEST_F(Translation, CustomerLinesHoldAtMost16Characters) {
    model::setText(config.customerName2, "Harbour Laundry");
    toUnit(COMMS_CUSTNAME);
    EXPECT_EQ(slotText(data.custName.lines[1]), "Harbour Laundry");
    data.custName.lines[0].fill('c');
    fromUnit(COMMS_CUSTNAME);
    toCopy(COMMS_CUSTNAME);
    EXPECT_EQ(model::textOf(config.customerName1), std::string(16, 'c'));
    EXPECT_EQ(model::textOf(copy.customerName2), "Harbour Laundry");
}

TEST_F(Translation, ASeventeenCharacterDescriptionFromTheUnitIsCutToTheDocuments16) {
    model::setText(config.unitDescription, std::string(16, 'd'));
    toUnit(COMMS_UNITNAME);
    EXPECT_EQ(slotText(data.unitDescription), std::string(16, 'd'));
    data.unitDescription.fill('u');
    toCopy(COMMS_UNITNAME);  // a report read writes the description into the configuration
    EXPECT_EQ(model::textOf(config.unitDescription), std::string(16, 'u'));
    EXPECT_EQ(config.unitDescription[16], '\0');
}

TEST_F(Translation, ASixtyCharacterCommentGoesAsThreeBlocksAndComesBackWhole) {
    config.comments = std::string(25, 'a') + std::string(25, 'b') + std::string(10, 'c');
    toUnit(COMMS_COMMENTS);
    EXPECT_EQ(data.comments.count, 3);
    EXPECT_EQ(slotText(data.comments.blocks[2]), std::string(10, 'c'));
    const std::string sent = config.comments;
    config.comments.clear();
    fromUnit(COMMS_COMMENTS);
    toCopy(COMMS_COMMENTS);
    EXPECT_EQ(config.comments, sent);
    EXPECT_EQ(copy.comments, sent);
}

TEST_F(Translation, ACommentOf2600CharactersKeepsItsFirst100Blocks) {
    std::string text;
    for (int i = 0; i < 104; ++i) {
        text += std::string(25, static_cast<char>('A' + i % 26));
    }
    config.comments = text;
    toUnit(COMMS_COMMENTS);
    EXPECT_EQ(data.comments.count, 100);
    fromUnit(COMMS_COMMENTS);
    EXPECT_EQ(config.comments, text.substr(0, 2500));
}

TEST(CommentsText, JoinsOnlyTheCountedBlocks) {
    CommentsPart part = commentsFromText("abc");
    setSlotText(part.blocks[1], "stale");
    EXPECT_EQ(commentsText(part), "abc");
    part.count = 0;
    EXPECT_EQ(commentsText(part), "");
}

TEST_F(Translation, TheSerialTextsGoToTheRecordForSettingTheSerialNumber) {
    model::setText(config.SerialNoUnit, "123456789");
    model::setText(config.SerialNoCPU, "000000042");
    toUnit(COMMS_SERIALNO);
    EXPECT_EQ(slotText(data.serialNumbers.unitSerial), "123456789");
    EXPECT_EQ(slotText(data.serialNumbers.cpuSerial), "000000042");
}

// --- Identity, automatic flush, reset-to, unit time -----------------------------------------

TEST_F(Translation, TheIdentityGivesTypeVersionAndNineDigitSerials) {
    data.identity.unit.unitTypeIndex = 9;
    data.identity.unit.version = {'1', '0', '7'};
    data.identity.unit.serial = 12345;
    data.identity.unit.cpuSerial = 987654321;
    fromUnit(COMMS_ACK);
    EXPECT_EQ(config.unitType, 9);
    EXPECT_EQ(context.pumpCount, std::optional<std::uint8_t>(10));
    EXPECT_EQ(model::textOf(config.SoftwareVersion), "V1.07");
    EXPECT_EQ(model::textOf(config.SerialNoUnit), "000012345");
    EXPECT_EQ(model::textOf(config.SerialNoCPU), "987654321");

    toCopy(COMMS_ACK);
    EXPECT_EQ(model::textOf(copy.SoftwareVersion), "V1.07");
    EXPECT_EQ(model::textOf(copy.CommsSerNo), "000012345");
    EXPECT_EQ(model::textOf(copy.CommsSerialNo), "000012345");
    EXPECT_EQ(model::textOf(copy.SerialNoCPU), "987654321");
    EXPECT_EQ(copy.CommsNPumps, 10);
}

TEST_F(Translation, AProcessorSerialOfTenDigitsIsKeptByTheCopyButNotCutByTheDocument) {
    data.identity.unit.cpuSerial = 4000000000u;
    data.identity.unit.serial = 4000000001u;
    fromUnit(COMMS_ACK);
    toCopy(COMMS_ACK);
    EXPECT_EQ(model::textOf(config.SerialNoCPU), "");
    EXPECT_EQ(model::textOf(config.SerialNoUnit), "4000000001");
    EXPECT_EQ(model::textOf(copy.SerialNoCPU), "4000000000");
}

TEST_F(Translation, AutomaticFlushTravelsBothWaysButReportsIgnoreIt) {
    config.autofs_mode = 1;
    config.autofs_time = {1, 5, 0};
    config.autofs_accept_time = 4;
    toUnit(COMMS_AUTOFS);
    EXPECT_EQ(data.autoFs, (AutoFs{1, 65, 4}));

    data.autoFs = {2, 90, 7};
    const model::CProgData before = config;
    const model::CommsCopy copyBefore = copy;
    toCopy(COMMS_AUTOFS);
    EXPECT_EQ(copy, copyBefore);
    EXPECT_EQ(config.autofs_mode, before.autofs_mode);
    fromUnit(COMMS_AUTOFS);
    EXPECT_EQ(config.autofs_mode, 2u);
    EXPECT_EQ(config.autofs_time, (model::MinSec{1, 30, 0}));
    EXPECT_EQ(config.autofs_accept_time, 7);
}

TEST_F(Translation, ResetToBytesTravelBothWays) {
    config.resetOption = 5;
    config.resetProgChoice = 3;
    config.FSVersion = 2;
    toUnit(COMMS_RESETTO);
    EXPECT_EQ(data.resetTo, (ResetToPart{5, 3, 2}));
    data.resetTo = {0, 1, 4};
    fromUnit(COMMS_RESETTO);
    toCopy(COMMS_RESETTO);
    EXPECT_EQ(config.resetOption, 0);
    EXPECT_EQ(config.FSVersion, 4);
    EXPECT_EQ(copy.resetProgChoice, 1);
    EXPECT_EQ(copy.FSVersion, 4);
}

TEST_F(Translation, TheUnitClockLandsInTheUnitTimeTextOfEitherRead) {
    setSlotText(data.unitTime, "10304515032019");
    model::CommsCopy programReadCopy;
    context.unitTimeText = &programReadCopy.UnitTimeText;
    fromUnit(COMMS_UNITTIME);
    toCopy(COMMS_UNITTIME);
    EXPECT_EQ(programReadCopy.UnitTimeText, "10304515032019");
    EXPECT_EQ(copy.UnitTimeText, "10304515032019");

    const CommsData before = data;
    toUnit(COMMS_UNITTIME);
    EXPECT_EQ(data, before);
}

TEST_F(Translation, AnOptionWithoutARuleChangesNothing) {
    data.globals.block1.unitType = 8;
    data.identity.unit.serial = 77;
    const model::CProgData configBefore = config;
    const CommsData dataBefore = data;
    const model::CommsCopy copyBefore = copy;
    for (const int option : {11, 14, -1, 255}) {
        toUnit(option);
        fromUnit(option);
        toCopy(option);
    }
    toUnit(COMMS_ACK);  // the identity only ever comes from a unit
    EXPECT_EQ(data, dataBefore);
    EXPECT_EQ(copy, copyBefore);
    EXPECT_EQ(config.unitType, configBefore.unitType);
    EXPECT_EQ(config.programs, configBefore.programs);
    EXPECT_EQ(model::textOf(config.SerialNoUnit), model::textOf(configBefore.SerialNoUnit));
    EXPECT_FALSE(context.pumpCount.has_value());
}

TEST(DocumentCommsCopy, TheDocumentKeepsOneCopyForTheReports) {
    model::CProgData config;
    const model::NoPumpNameDefaults names;
    model::CQeltoDoc doc(config, names);
    doc.commsCopy().CommsNPumps = 6;
    const model::CQeltoDoc& view = doc;
    EXPECT_EQ(view.commsCopy().CommsNPumps, 6);
    EXPECT_EQ(&view.commsCopy(), &doc.commsCopy());
}

}  // namespace
}  // namespace qelto::protocol
