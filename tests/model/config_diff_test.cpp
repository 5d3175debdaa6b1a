#include "model/config_diff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qelto::model {
namespace {

CProgData resetRecord() {
    CProgData c;
    c.ResetAll(NoPumpNameDefaults());
    return c;
}

using C = CProgData;

struct Change {
    const char* path;
    const char* a;  // the reset value, as shown
    const char* b;
    void (*apply)(C&);
};

// One change per compared field, at the edges of the numbering where a field has positions.
const std::vector<Change> kEveryField = {
    {"spareLaundryByte", "0", "1", [](C& c) { c.spareLaundryByte = 1; }},
    {"FlushType", "0", "1", [](C& c) { c.FlushType = 1; }},
    {"resetDelayLastInput", "0", "1", [](C& c) { c.resetDelayLastInput = 1; }},
    {"resetDelayOff", "0", "1", [](C& c) { c.resetDelayOff = 1; }},
    {"accessCode", "1", "7", [](C& c) { c.accessCode = 7; }},
    {"resetDelayTime", "0:20", "1:20", [](C& c) { c.resetDelayTime.minutes = 1; }},
    {"flushValveTime", "0:00", "12:00", [](C& c) { c.flushValveTime.minutes = 12; }},
    {"auxTime", "0:00", "0:09", [](C& c) { c.auxTime.seconds = 9; }},
    {"auxByte", "0", "255", [](C& c) { c.auxByte = 255; }},
    {"unitType", "3", "5", [](C& c) { c.unitType = 5; }},
    {"spareText", "", "x", [](C& c) { setText(c.spareText, "x"); }},
    {"SerialNoUnit", "000000000", "123", [](C& c) { setText(c.SerialNoUnit, "123"); }},
    {"SerialNoCPU", "", "C1", [](C& c) { setText(c.SerialNoCPU, "C1"); }},
    {"SoftwareVersion", "V-.--", "V1.30", [](C& c) { setText(c.SoftwareVersion, "V1.30"); }},
    {"unitDescription", "", "Line 3", [](C& c) { setText(c.unitDescription, "Line 3"); }},
    {"customerName1", "", "H\u00f4tel", [](C& c) { setText(c.customerName1, "H\xf4tel"); }},
    {"customerName2", "", "Nord", [](C& c) { setText(c.customerName2, "Nord"); }},
    {"relayMode", "0", "1", [](C& c) { c.relayMode = 1; }},
    {"ViewMode", "1", "0", [](C& c) { c.ViewMode = 0; }},
    {"optionFlag1", "1", "0", [](C& c) { c.optionFlag1 = 0; }},
    {"optionFlag0", "1", "0", [](C& c) { c.optionFlag0 = 0; }},
    {"SafetyStopMode", "0", "2", [](C& c) { c.SafetyStopMode = 2; }},
    {"autofs_mode", "0", "1", [](C& c) { c.autofs_mode = 1; }},
    {"autofs_time", "0:30", "1:30", [](C& c) { c.autofs_time.minutes = 1; }},
    {"autofs_accept_time", "1", "4", [](C& c) { c.autofs_accept_time = 4; }},
    {"resetOption", "2", "21", [](C& c) { c.resetOption = 21; }},
    {"resetProgChoice", "1", "20", [](C& c) { c.resetProgChoice = 20; }},
    {"FSVersion", "0", "3", [](C& c) { c.FSVersion = 3; }},
    {"comments", "", "a\r\nb", [](C& c) { c.comments = "a\r\nb"; }},
    {"pin[2]", "7159", "0042", [](C& c) { c.pin[1] = 42; }},
    {"legacyConfig@88", "0x00", "0xab", [](C& c) { c.legacyConfig[88] = 0xAB; }},
    {"pumps[10].pumpSpeed", "80", "100", [](C& c) { c.pumpSpeed[9] = 100; }},
    {"pumps[1].pumpSpeedRange", "3", "0", [](C& c) { c.pumpSpeedRange[0] = 0; }},
    {"pumps[5].pumpCalibration", "0", "120", [](C& c) { c.pumpCalibration[4] = 120; }},
    {"pumps[1].pumpName", "", "Bleach", [](C& c) { c.pumpName[0] = "Bleach"; }},
    {"programs[20].progName", "", "Towels", [](C& c) { c.progName[19] = "Towels"; }},
    {"programs[3].triggers[2].pulseCount", "1", "3", [](C& c) { c.pulseCount[2][1] = 3; }},
    {"programs[1].triggers[10].pumps[10].pumpEnabled", "off", "on",
     [](C& c) { c.pumpEnabled[0][9][9] = 1; }},
    {"programs[3].triggers[2].pumps[1].runTime", "0:45", "1:45",
     [](C& c) { c.programs[2][1][0].runTime.minutes = 1; }},
    {"programs[20].triggers[1].pumps[4].delayTime", "0:00", "0:05",
     [](C& c) { c.programs[19][0][3].delayTime.seconds = 5; }},
    {"programs[1].triggers[1].pumps[1].dose", "0", "250",
     [](C& c) { c.programs[0][0][0].dose = 250; }},
};

TEST(ConfigDiff, eachFieldChangedAloneGivesOneDifferenceWithItsPlaceAndValues) {
    const CProgData a = resetRecord();
    for (const Change& change : kEveryField) {
        CProgData b = a;
        change.apply(b);
        const auto found = diffConfigs(a, b);
        ASSERT_EQ(found.size(), 1U) << change.path;
        EXPECT_EQ(fieldPath(found[0]), change.path);
        EXPECT_EQ(found[0].a, change.a) << change.path;
        EXPECT_EQ(found[0].b, change.b) << change.path;
        EXPECT_EQ(diffConfigs(b, a)[0].a, change.b) << "sides swapped: " << change.path;
    }
}

TEST(ConfigDiff, whatNoOneSeesIsNotADifference) {
    const CProgData a = resetRecord();
    CProgData b = a;
    b.resetDelayTime.third = 9;
    b.programs[4][4][4].runTime.third = 1;
    b.customerName1[10] = 'x';  // behind the terminator
    b.tenPumpFormat = 1;
    b.firstFormatLoad = 1;
    b.pumpNamesValid = 0;
    b.batchJobName = "job";
    b.batchCounter = 3;
    EXPECT_TRUE(diffConfigs(a, b).empty());
}

// A pump's speed settings come before its calibration, a step's on/off before its times.
TEST(ConfigDiff, differencesComeUnitWideFirstThenPumpsThenProgramsInNumberOrder) {
    const CProgData a = resetRecord();
    CProgData b = a;
    b.pulseCount[9][0] = 2;
    b.progName[1] = "Sheets";
    b.programs[1][0][0].runTime.seconds = 1;
    b.pumpEnabled[1][0][0] = 1;
    b.pumpCalibration[0] = 90;
    b.pumpSpeedRange[0] = 1;
    b.pumpSpeed[0] = 50;
    b.pin[0] = 1;
    b.accessCode = 9;
    std::vector<std::string> paths;
    for (const auto& d : diffConfigs(a, b)) {
        paths.push_back(fieldPath(d));
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"accessCode", "pin[1]", "pumps[1].pumpSpeed",
                                               "pumps[1].pumpSpeedRange",
                                               "pumps[1].pumpCalibration", "programs[2].progName",
                                               "programs[2].triggers[1].pumps[1].pumpEnabled",
                                               "programs[2].triggers[1].pumps[1].runTime",
                                               "programs[10].triggers[1].pulseCount"}));
}

}  // namespace
}  // namespace qelto::model
