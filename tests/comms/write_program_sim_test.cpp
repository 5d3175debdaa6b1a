// A program write into the simulated unit through the real serial code: what the unit holds
// afterwards, the packets in the order it received them, and what the engineer was told.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver_on_sim.h"

namespace qelto {
namespace {

using namespace comms;
using namespace protocol;
using nlohmann::json;
using test::unitMemory;

class WriteProgramToUnit : public test::DriverOnSim {
  protected:
    // A document unlike the unit of unitMemory() in every group of settings, calibrated on the
    // same pump, so a write goes through.
    void fillDocument() {
        config.pumpCalibration[1] = 150;
        config.pulseCount[2][1] = 2;
        config.pumpEnabled[2][1][0] = 1;
        config.programs[2][1][0].runTime = {1, 15};
        config.programs[2][1][0].delayTime = {0, 10};
        config.pumpEnabled[2][1][1] = 1;
        config.programs[2][1][1].dose = 500;
        config.progName[2] = "Whites";
        config.pumpName[0] = "Soap";
        model::setText(config.unitDescription, "Line 7");
        model::setText(config.SerialNoUnit, "987654321");
        config.autofs_mode = 1;
        config.autofs_time = {2, 0};
        config.autofs_accept_time = 3;
        config.resetOption = 5;
        config.FSVersion = 3;  // the unit's; a write cannot change it and a verify compares it
        config.accessCode = 4;
        config.comments = "New notes for the unit.";
    }

    OperationResult write(bool clockOnly = false) {
        OperationContext c = context();
        OperationResult result = writeProgram(c, clockOnly);
        EXPECT_FALSE(clockOnly) << "the clock-only flag belongs to one operation";
        return result;
    }

    static Options only(bool Options::*flag) {
        Options o;
        o.*flag = true;
        return o;
    }

    // Every request in order, as "id", or "poll/cmd" for polls.
    std::vector<std::string> trace() const { return sim->sim.trace(); }
};

json triggerOf(const json& unit, int program, int trigger) {
    for (const json& t : unit.at("programs")) {
        if (t.at("program") == program && t.at("trigger") == trigger) {
            return t;
        }
    }
    return json();
}

std::string poll(int command) {
    return "poll/" + std::to_string(command);
}

TEST_F(WriteProgramToUnit, AFullWriteLeavesTheDocumentInTheUnitInItsOrderAndVerifies) {
    start(unitMemory());
    fillDocument();
    prompts.calibrationChoice = kChooseEditorCalibration;
    prompts.yes = true;

    const OperationResult result = write();
    EXPECT_EQ(result.status, OperationStatus::Ok);
    EXPECT_EQ(result.closingMessage, kMsgWriteDone);
    EXPECT_TRUE(result.unitLocked);
    EXPECT_EQ(result.verified, true);
    for (const Difference& d : result.differences) {
        ADD_FAILURE() << describe(d);
    }
    EXPECT_EQ(std::count(prompts.calls.begin(), prompts.calls.end(), "askYesNo 401 402"), 1);

    // The write's requests in the unit's order, then the verify's, then the lock.
    std::vector<std::string> expected = {poll(CMD_UNLOCK),  // the calibration choice
                                         poll(CMD_GET_PUMPCAL),
                                         poll(CMD_GET_PUMPCAL),
                                         poll(CMD_NONE),    // the unit's type
                                         poll(CMD_UNLOCK),  // before writing
                                         std::to_string(PKT_PUMPCAL)};
    expected.insert(expected.end(), 30, poll(CMD_NONE));  // keep-alive between the groups
    for (const std::string& s :
         {std::to_string(PKT_PUMPCAL), poll(CMD_GET_PUMPCAL), poll(CMD_GET_PUMPCAL),
          std::to_string(PKT_GLOBAL1), std::to_string(PKT_GLOBAL2),
          poll(CMD_NONE),  // 1.0.7 or newer?
          std::to_string(PKT_RESET_TO), poll(CMD_ERASE_FORMULA),
          poll(CMD_NONE)}) {  // the default pulse count
        expected.push_back(s);
    }
    // Program 3 only; a 1.3.0 unit erases triggers to no pulses, so the nine triggers without a
    // pump still go, for their one pulse.
    expected.insert(expected.end(), 10, std::to_string(progDataId(2, 0)));
    for (const std::string& s :
         {std::to_string(PKT_UNIT_DESC), std::to_string(PKT_AUTOFS), poll(CMD_ERASE_NAMES)}) {
        expected.push_back(s);
    }
    expected.insert(expected.end(), 20, std::to_string(PKT_PROGNAME));
    expected.insert(expected.end(), 10, std::to_string(PKT_PUMPNAME));
    expected.push_back(std::to_string(PKT_COMMENTS));
    const std::vector<std::string> actual = trace();
    ASSERT_GT(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i], expected[i]) << "request " << i;
    }
    EXPECT_EQ(actual.back(), poll(CMD_LOCK));

    const json unit = unitAfter();
    EXPECT_EQ(unit["calibration"][1],
              (json{{"volume", 150}, {"day", 15}, {"month", 3}, {"year", 19}}));
    EXPECT_EQ(triggerOf(unit, 0, 0), json()) << "the unit's old program data was erased";
    const json trigger = triggerOf(unit, 2, 1);
    ASSERT_FALSE(trigger.is_null());
    EXPECT_EQ(trigger["setting"], 2);
    EXPECT_EQ(trigger["pumps"][0], (json{1, 15, 1, 10, 0}));
    EXPECT_EQ(trigger["pumps"][1], (json{1, 500 & 0xFF, 500 >> 8, 0, 0}));
    EXPECT_EQ(unit["programNames"][2], "Whites");
    EXPECT_EQ(unit["programNames"][0], "") << "names are replaced as a whole";
    EXPECT_EQ(unit["pumpNames"][0], "Soap");
    EXPECT_EQ(unit["comments"], (json{"New notes for the unit."}));
    EXPECT_EQ(unit["description"], "Line 7");
    EXPECT_EQ(unit["serial"], 123456789) << "the document's serial was never read from the unit";
    EXPECT_EQ(unit["autoFlush"], (json{{"mode", 1}, {"time", 120}, {"acceptTime", 3}}));
    EXPECT_EQ(unit["resetTo"]["kind"], 0);
    EXPECT_EQ(unit["resetTo"]["value"], 4);
    EXPECT_EQ(unit["globals"]["accessCode"], 4);
    EXPECT_EQ(unit["customerLines"][0], "Hotel Sud") << "a write leaves the customer alone";
    EXPECT_TRUE(unit["locked"].get<bool>());
}

TEST_F(WriteProgramToUnit, WhatIsNotChosenSurvivesTheEraseOfNamesAndCommentsAndAppendedOnesFollow) {
    start(unitMemory());
    config.comments = "Only the comments change.";
    prompts.options = only(&Options::bComments);
    const OperationResult result = write();
    EXPECT_EQ(result.closingMessage, kMsgWriteDone);

    const auto polls = pollCommands();
    const auto at = [&](int cmd) { return std::find(polls.begin(), polls.end(), cmd); };
    EXPECT_LT(at(CMD_GET_PROGNAME), at(CMD_ERASE_NAMES));
    EXPECT_LT(at(CMD_GET_PUMPNAME), at(CMD_ERASE_NAMES));
    EXPECT_FALSE(sent(CMD_GET_COMMENTS)) << "the unit's comments are being replaced";
    json unit = unitAfter();
    EXPECT_EQ(unit["programNames"][0], "Towels");
    EXPECT_EQ(unit["pumpNames"][1], "Bleach");
    EXPECT_EQ(unit["comments"], (json{"Only the comments change."}));

    // Names alone: the unit's comments go back after the names, not the document's; appended
    // comments follow the unit's own.
    for (const bool append : {false, true}) {
        SCOPED_TRACE(append ? "appended comments" : "names alone");
        sim.reset();
        start(unitMemory());
        config.progName[0] = "Linen";
        config.pumpName[0] = "Soap";
        config.comments = "Appended.";
        prompts.options = only(&Options::bProgNames);
        prompts.options->bPumpNames = !append;
        prompts.options->bComments = append;
        prompts.options->bAppendComments = append;
        write();
        unit = unitAfter();
        EXPECT_EQ(unit["programNames"][0], "Linen");
        EXPECT_EQ(unit["pumpNames"][0], append ? "Detergent" : "Soap");
        json comments{"Checked by the engineer o", "n site."};
        if (append) {
            comments.push_back("Appended.");
        }
        EXPECT_EQ(unit["comments"], comments);
    }
}

TEST_F(WriteProgramToUnit, OnlyASerialNumberReadFromThisUnitIsSentBack) {
    struct Case {
        const char* document;
        model::IdentitySource source;
        const char* serial;
        bool sent;
    };
    using enum model::IdentitySource;
    for (const Case& c :
         {Case{"new", None, "000000000", false}, Case{"from a file", File, "123456789", false},
          Case{"read from another unit", UnitRead, "987654321", false},
          Case{"read from this unit", UnitRead, "123456789", true}}) {
        SCOPED_TRACE(c.document);
        start(unitMemory());
        model::setText(config.SerialNoUnit, c.serial);
        config.identitySource = c.source;
        prompts.calls.clear();
        prompts.options = only(&Options::bSerialNo);
        EXPECT_EQ(write().closingMessage, kMsgWriteDone);
        EXPECT_EQ(countOf(PKT_SERIAL_NUM), c.sent ? 1 : 0);
        const bool noted = std::count(prompts.calls.begin(), prompts.calls.end(),
                                      "note the unit keeps its serial number 123456789") == 1;
        EXPECT_EQ(noted, !c.sent);
        EXPECT_EQ(unitAfter()["serial"], 123456789);
        sim.reset();
    }
}

TEST_F(WriteProgramToUnit, NoOptionsStillSendTheAutomaticFlushAndAskToVerify) {
    start(unitMemory());
    prompts.options = Options{};
    const OperationResult result = write();
    EXPECT_EQ(result.closingMessage, kMsgWriteDone);
    EXPECT_EQ(trace(), (std::vector<std::string>{poll(CMD_UNLOCK), std::to_string(PKT_AUTOFS),
                                                 poll(CMD_LOCK)}));
    EXPECT_EQ(std::count(prompts.calls.begin(), prompts.calls.end(), "askYesNo 401 402"), 1);
}

TEST_F(WriteProgramToUnit, OnlyABatchWriteClearsTheCountersOnceTheCalibrationCheckPassed) {
    struct Case {
        const char* name;
        bool resetCounters;
        std::uint32_t pump1;  // the unit has pump 1 uncalibrated
        std::uint32_t pump2;  // and pump 2 at 120: a difference makes the write ask
        std::optional<int> choice;
        bool reset;
    };
    const Case cases[] = {
        {"service write", false, 0, 120, kChooseUnitCalibration, false},
        {"batch write", true, 0, 120, kChooseUnitCalibration, true},
        {"failed calibration check", true, 200, 120, kChooseUnitCalibration, false},
        {"cancelled calibration choice", true, 0, 130, std::nullopt, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start(unitMemory());
        doc.onNewDocument();
        config.pumpCalibration[0] = c.pump1;
        config.pumpCalibration[1] = c.pump2;
        prompts.options = only(&Options::bPumpData);
        prompts.calibrationChoice = c.choice;
        OperationContext ctx = context();
        ctx.resetCounters = c.resetCounters;
        bool clockOnly = false;
        writeProgram(ctx, clockOnly);

        const std::vector<std::string> sent = trace();
        const auto at = [&](const std::string& request) {
            return std::find(sent.begin(), sent.end(), request) - sent.begin();
        };
        const std::string reset = poll(CMD_RESET);
        ASSERT_EQ(at(reset) < std::ssize(sent), c.reset);
        if (c.reset) {
            // The check reads the calibration last, just before the reset; the globals follow.
            EXPECT_EQ(sent[static_cast<std::size_t>(at(reset) - 1)], poll(CMD_GET_PUMPCAL));
            EXPECT_EQ(at(reset) + 1, at(std::to_string(PKT_GLOBAL1)));
            EXPECT_EQ(sim->sim.requests()[static_cast<std::size_t>(at(reset))]["byte7"], 0)
                << "counters";
        }
        sim.reset();
    }
}

TEST_F(WriteProgramToUnit, UnitsBefore107GetNoResetToAndTheEngineerIsWarned) {
    start(unitMemory("1.0.6"));
    config.resetOption = 5;
    prompts.options = only(&Options::bPumpData);
    prompts.calibrationChoice = kChooseUnitCalibration;
    config.pumpCalibration[1] = 120;
    const OperationResult result = write();
    EXPECT_EQ(countOf(PKT_RESET_TO), 0);
    EXPECT_EQ(result.closingMessage, kMsgWriteDone);
    EXPECT_NE(std::find(prompts.calls.begin(), prompts.calls.end(), "message 434 1 433"),
              prompts.calls.end());
}

TEST_F(WriteProgramToUnit, AnErasedTriggerIsLeftOutOnlyWhenItHoldsTheUnitsDefaultPulses) {
    for (const std::string version : {"2.0.4", "2.0.5"}) {
        SCOPED_TRACE(version);
        start(unitMemory(version));
        doc.onNewDocument();
        config.pumpCalibration[1] = 120;
        config.pumpEnabled[3][0][0] = 1;  // program 4 is in use
        config.pulseCount[3][1] = 1;      // trigger 2 carries no pump and one pulse
        prompts.options = only(&Options::bPumpData);
        prompts.calibrationChoice = kChooseUnitCalibration;
        write();
        const int halves = countOf(progDataId(3, 0));
        EXPECT_EQ(halves, version == "2.0.4" ? 10 : 1)
            << "2.0.4 erases triggers to no pulses, 2.0.5 to one";
        sim.reset();
    }
}

TEST_F(WriteProgramToUnit, DifferentlyCalibratedPumpsStopTheProgramDataButNotTheDescription) {
    start(unitMemory());
    config.pumpCalibration[0] = 200;  // the unit has pump 1 uncalibrated
    config.pumpCalibration[1] = 120;
    model::setText(config.unitDescription, "Line 9");
    prompts.options = only(&Options::bPumpData);
    prompts.options->bDescription = true;
    prompts.options->bComments = true;
    prompts.calibrationChoice = kChooseUnitCalibration;
    const OperationResult result = write();
    EXPECT_EQ(result.status, OperationStatus::Failed);
    EXPECT_EQ(result.closingMessage, kMsgCalibrationMismatch);
    EXPECT_EQ(countOf(PKT_GLOBAL1), 0);
    EXPECT_EQ(countOf(PKT_COMMENTS), 0);
    EXPECT_EQ(countOf(PKT_PUMPCAL), 0) << "the engineer kept the unit's calibration";
    EXPECT_EQ(unitAfter()["description"], "Line 9");
}

TEST_F(WriteProgramToUnit, TheCalibrationComparisonShowsBothSides) {
    start(unitMemory());
    config.pumpCalibration[1] = 150;
    config.unitType = 7;  // a type with more pumps than the unit's
    prompts.changeUnitType = true;
    prompts.options = only(&Options::bPumpData);
    prompts.calibrationChoice = kChooseEditorCalibration;
    prompts.yes = true;
    const OperationResult result = write();
    EXPECT_EQ(result.closingMessage, kMsgUnitTypeMismatch);
    EXPECT_EQ(std::count(prompts.calls.begin(), prompts.calls.end(), "askYesNo 401 402"), 0)
        << "a unit of another type would never verify";
    ASSERT_TRUE(prompts.comparison.has_value());
    EXPECT_EQ(prompts.comparison->unitValues[1], 120u);
    EXPECT_EQ(prompts.comparison->editorValues[1], 150u);
    EXPECT_EQ(prompts.comparison->pumpsShown,
              std::max(model::unitPumpCount(7), model::unitPumpCount(3)));
}

TEST_F(WriteProgramToUnit, CancellingTheCalibrationChoiceWritesNothing) {
    start(unitMemory());
    prompts.calibrationChoice.reset();
    const OperationResult result = write();
    EXPECT_EQ(result.status, OperationStatus::Cancelled);
    EXPECT_TRUE(prompts.messages.empty());
    for (const json& r : sim->sim.requests()) {
        EXPECT_EQ(r.at("id"), PKT_POLL) << "packet " << r << " was sent";
    }
    EXPECT_EQ(pollCommands().back(), CMD_LOCK);
}

TEST_F(WriteProgramToUnit, TheFirstFailedWriteStopsTheRestAndIsReported) {
    // Silent after the unlock, the calibration read, the poll, the unlock and the first group.
    start(unitMemory(), {"--silent-after", "6"});
    fillDocument();
    prompts.calibrationChoice = kChooseEditorCalibration;
    prompts.yes = true;
    const OperationResult result = write();
    EXPECT_EQ(result.status, OperationStatus::Failed);
    EXPECT_EQ(result.closingMessage, kMsgWriteFailed);
    EXPECT_FALSE(result.unitLocked);
    EXPECT_FALSE(result.verified.has_value()) << "no verify is offered after a failure";
    EXPECT_EQ(countOf(PKT_GLOBAL1), 0);
    EXPECT_EQ(countOf(PKT_PROGNAME), 0);
}

// A unit that goes silent during the verify after a write was not compared: the write must not
// close with "does not match".
TEST_F(WriteProgramToUnit, AVerifyThatCannotReadBackSaysNotComparedNotDiffers) {
    start(unitMemory());
    config.progName[0] = "Linen";
    prompts.options = only(&Options::bProgNames);
    write();
    const int written = static_cast<int>(sim->sim.requests().size()) - 1;  // all but the lock

    sim.reset();
    // The write, then the verify's unlock; its read of the names goes unanswered.
    start(unitMemory(), {"--silent-after", std::to_string(written + 1)});
    prompts.yes = true;
    const OperationResult result = write();
    EXPECT_EQ(result.status, OperationStatus::Failed);
    EXPECT_EQ(result.closingMessage, kMsgVerifyNotCompared);
    EXPECT_EQ(result.notCompared, "program names");
}

TEST_F(WriteProgramToUnit, ADocumentWithValuesBeyond16BitsIsRefusedBeforeAnythingIsSent) {
    start(unitMemory());
    config.pumpCalibration[1] = 65536;
    config.pumpCalibration[2] = 100;
    config.pumpEnabled[4][3][2] = 1;
    config.programs[4][3][2].dose = 70000;
    config.programs[4][3][3].dose = 70000;  // pump 4 is disabled: never sent
    const OperationResult result = write();
    EXPECT_EQ(result.status, OperationStatus::Failed);
    EXPECT_EQ(result.closingMessage, kMsgValuesBeyondUnit);
    ASSERT_EQ(result.differences.size(), 2u);
    EXPECT_EQ(result.differences[0].pump, 2);
    EXPECT_EQ(result.differences[0].documentValue, "65536");
    EXPECT_EQ(result.differences[1].program, 5);
    EXPECT_EQ(result.differences[1].trigger, 4);
    EXPECT_EQ(result.differences[1].pump, 3);
    EXPECT_EQ(pollCommands(), std::vector<int>{CMD_LOCK});
}

TEST_F(WriteProgramToUnit, AClockOnlyWriteSetsTheClockAndNothingElse) {
    start(unitMemory());
    const OperationResult result = write(true);
    EXPECT_EQ(result.closingMessage, kMsgClockSet);
    EXPECT_EQ(prompts.optionsAsked, 0);
    EXPECT_EQ(trace(), (std::vector<std::string>{poll(CMD_UNLOCK), std::to_string(PKT_UNIT_TIME),
                                                 poll(CMD_LOCK)}));
    const std::string clock = unitAfter()["clock"];
    EXPECT_EQ(clock.substr(6), "15032019") << clock;
    EXPECT_EQ(clock.substr(0, 4), "1405") << clock;
}

TEST_F(WriteProgramToUnit, ALockThatFailsIsSentOnceMore) {
    // The unlock, the clock, then the lock answered PKT_NAK.
    start(unitMemory(), {"--nak-every", "3"});
    const OperationResult result = write(true);
    EXPECT_TRUE(result.unitLocked);
    EXPECT_EQ(pollCommands(), (std::vector<int>{CMD_UNLOCK, CMD_LOCK, CMD_LOCK}));
}

}  // namespace
}  // namespace qelto
