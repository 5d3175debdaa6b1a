// The PC's packet builders and parsers against the simulated unit, which reads the same byte
// layouts with code of its own: every setting is written with a builder, read back with the
// matching poll and parser, and must come back as it went, and the unit's memory names each
// field. A field that one side places at a different byte than the other shows up here as a
// value that does not survive the round trip. The operation driver's tests carry whole records
// through the operations the same way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "protocol/packet_catalogue.h"
#include "protocol/unit_operations.h"
#include "support/sim_link.h"
#include "support/test_env.h"

namespace qelto {
namespace {

using namespace protocol;

constexpr std::uint32_t kSimSerial = 123456789;  // the simulator's factory serial number

class CatalogueRoundtrip : public ::testing::Test {
  protected:
    // Starts a unit and unlocks it, as every write sequence of the PC begins.
    void start(const std::vector<std::string>& options = {}) {
        unit_ = std::make_unique<test::SimLink>(test::testDir(), options);
        ASSERT_EQ(ask(makeUnlock(1234)).id(), PKT_ACK);
    }

    Packet ask(const Packet& request) {
        Packet reply;
        EXPECT_EQ(unit_->exchange(request, reply), LinkStatus::Ok)
            << "request id " << int(request.id());
        return reply;
    }

    // A write must be acknowledged; the identifier alone says so.
    void set(const Packet& request) {
        EXPECT_EQ(ask(request).id(), PKT_ACK) << "write of packet id " << int(request.id());
    }

    ProgDataHalf getHalf(std::uint8_t program, std::uint8_t half, std::uint8_t trigger) {
        const auto parsed = parseProgDataHalf(ask(makeProgDataRequest(program, half, trigger)));
        EXPECT_TRUE(parsed.has_value()) << "program " << int(program) << " half " << int(half);
        return parsed.value_or(ProgDataHalf{});
    }

    EnProgs getEnProgs() {
        const auto parsed = parseEnProgs(ask(makePoll(CMD_GET_EN_PROGS)));
        EXPECT_TRUE(parsed.has_value());
        return parsed.value_or(EnProgs{});
    }

    std::unique_ptr<test::SimLink> unit_;
};

TEST_F(CatalogueRoundtrip, PumpCalibrationOfBothGroupsKeepsVolumesAndDates) {
    start();
    const std::vector<PumpCalGroup> groups = {
        {0, {{{600, 15, 3, 19}, {0, 0, 0, 0}, {1, 1, 1, 0}, {65535, 31, 12, 98}, {300, 2, 7, 24}}}},
        {1,
         {{{258, 9, 10, 25}, {0, 28, 2, 20}, {1200, 30, 11, 99}, {77, 5, 6, 7}, {999, 1, 1, 1}}}},
    };
    for (const PumpCalGroup& group : groups) {
        set(makePumpCal(group));
    }
    for (const PumpCalGroup& group : groups) {
        const auto got = parsePumpCal(ask(makePoll(CMD_GET_PUMPCAL, group.group)));
        ASSERT_TRUE(got.has_value()) << "group " << int(group.group);
        EXPECT_EQ(*got, group) << "group " << int(group.group);
    }
}

// Half A and half B of a few program/trigger pairs, with a volume-dosed and a time-dosed pump in
// each: the two run bytes must come back in order, whichever reading they carry.
std::vector<ProgDataHalf> sampleHalves() {
    ProgDataHalf first{0, 0, 0, 1, {}};
    first.pumps[0] = {1, 0, 0, 10, 0};
    first.pumps[0].setDose(600);  // pump 1 is calibrated: a 16-bit dose
    first.pumps[2].enabled = 1;
    first.pumps[2].setRunTime(2, 45);  // pump 3 is not: minutes and seconds
    first.pumps[2].delayMinutes = 1;

    ProgDataHalf second{0, 1, 0, 1, {}};
    second.pumps[4] = {1, 0, 0, 59, 3};
    second.pumps[4].setRunTime(0, 30);  // pump 10

    ProgDataHalf third{19, 1, 9, 3, {}};
    third.pumps[0] = {1, 0, 0, 0, 0};
    third.pumps[0].setDose(0x1234);  // pump 6 is calibrated
    third.pumps[3] = {1, 0, 0, 7, 2};
    third.pumps[3].setRunTime(59, 59);  // pump 9

    ProgDataHalf fourth{7, 0, 8, 2, {}};
    fourth.pumps[4] = {1, 0, 0, 0, 0};
    fourth.pumps[4].setRunTime(1, 0);  // pump 5, trigger 9
    return {first, second, third, fourth};
}

TEST_F(CatalogueRoundtrip, ProgramDataHalvesTheirTriggerMapAndTheirEraseReadBack) {
    start();
    PumpCalGroup group0{0, {}};
    group0.pumps[0].volume = 600;
    PumpCalGroup group1{1, {}};
    group1.pumps[0].volume = 450;
    set(makePumpCal(group0));
    set(makePumpCal(group1));

    const auto halves = sampleHalves();
    for (const ProgDataHalf& half : halves) {
        set(makeProgDataHalf(half));
    }
    // No pump, but a pulse count other than the erased one: the unit holds it, so a reader must
    // be told to fetch it.
    set(makeProgDataHalf(ProgDataHalf{3, 0, 4, 2, {}}));
    for (const ProgDataHalf& half : halves) {
        EXPECT_EQ(getHalf(half.program, half.half, half.trigger), half)
            << "program " << int(half.program) << " half " << int(half.half) << " trigger "
            << int(half.trigger);
    }
    // The calibration tells the reader which reading the two bytes carry.
    EXPECT_EQ(getHalf(0, 0, 0).pumps[0].dose16(), 600);
    EXPECT_EQ(getHalf(0, 0, 0).pumps[2].runMinutes(), 2);
    EXPECT_EQ(getHalf(0, 0, 0).pumps[2].runSeconds(), 45);
    EnProgs written;
    for (const auto& [program, trigger] :
         {std::pair{0, 0}, std::pair{19, 9}, std::pair{7, 8}, std::pair{3, 4}}) {
        written.enabled[static_cast<std::size_t>(program)][static_cast<std::size_t>(trigger)] =
            true;
    }
    EXPECT_EQ(getEnProgs(), written);

    EXPECT_EQ(ask(makePoll(CMD_ERASE_FORMULA)).id(), PKT_ACK);
    EXPECT_EQ(getEnProgs(), EnProgs{});
    // A unit below software 2.0.5 (the simulator's 1.3.0) erases the pulse count to 0.
    for (const ProgDataHalf& half : halves) {
        const ProgDataHalf erased{half.program, half.half, half.trigger, 0, {}};
        EXPECT_EQ(getHalf(half.program, half.half, half.trigger), erased)
            << "program " << int(half.program) << " half " << int(half.half);
    }
}

TEST_F(CatalogueRoundtrip, TextsReadBackUpToTheirFullWidthAndCommentsUntilNamesAreErased) {
    start();
    const std::vector<IndexedText> programs = {{0, "Towels 60\xb0"},
                                               {19, std::string(kNameWidth, 'Z')}};
    const std::vector<IndexedText> pumps = {{0, "Detergent"}, {9, "ABCDEFGHIJKLMNOPQRSTUVWXY"}};
    const std::vector<IndexedText> lines = {{0, "Hotel Seeblick"}, {1, "0123456789ABCDEF"}};
    for (const IndexedText& name : programs) {
        set(makeProgName(name.index, name.text));
    }
    for (const IndexedText& name : pumps) {
        set(makePumpName(name.index, name.text));
    }
    for (const IndexedText& line : lines) {
        set(makeCustomerLine(line.index, line.text));
    }
    for (const IndexedText& name : programs) {
        EXPECT_EQ(parseProgName(ask(makePoll(CMD_GET_PROGNAME, name.index))), name);
    }
    for (const IndexedText& name : pumps) {
        EXPECT_EQ(parsePumpName(ask(makePoll(CMD_GET_PUMPNAME, name.index))), name);
    }
    for (const IndexedText& line : lines) {
        EXPECT_EQ(parseCustomerLine(ask(makePoll(CMD_GET_CUSTNAME, line.index))), line);
    }
    const std::string description = "Line 4 / Washer 2";
    ASSERT_EQ(description.size(), kUnitDescriptionWidth);
    set(makeUnitDescription(description));
    EXPECT_EQ(parseUnitDescription(ask(makePoll(CMD_GET_UNIT_DESC))), description);

    const std::vector<std::string> blocks = {std::string(kCommentBlockWidth, 'a'),
                                             "the second comment block", "end"};
    for (const std::string& text : blocks) {
        set(makeComment(CommentBlock{text, 0}));
    }
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(parseComment(ask(makePoll(CMD_GET_COMMENTS, static_cast<std::uint8_t>(i + 1)))),
                  (CommentBlock{blocks[i], 3}))
            << "block " << i + 1;
    }
    const Packet erased = ask(makePoll(CMD_ERASE_NAMES));
    EXPECT_TRUE(erased.id() == PKT_ACK || erased.id() == PKT_NAK) << int(erased.id());
    EXPECT_EQ(ask(makePoll(CMD_GET_COMMENTS, 1)).id(), PKT_NAK);
}

TEST_F(CatalogueRoundtrip, ResetOptionsSurviveTheWireAndTheUnitReportsItsFeatureVersion) {
    // The feature version is the unit's own: set it in the unit's memory, never over the wire.
    start(test::stateOptions(test::testDir(), {{"resetTo", {{"fsVersion", 7}}}}));
    for (const std::uint8_t option : std::initializer_list<std::uint8_t>{0, 1, 2, 21}) {
        const ResetTo sent = resetToForOption(option);
        set(makeResetTo(sent));
        const auto got = parseResetTo(ask(makePoll(CMD_GET_RESET_TO)));
        ASSERT_TRUE(got.has_value()) << "option " << int(option);
        EXPECT_EQ(got->kind, sent.kind) << "option " << int(option);
        EXPECT_EQ(got->byte7, sent.byte7) << "option " << int(option);
        EXPECT_EQ(resetOptionOf(*got), option);
        EXPECT_EQ(got->fsVersion, 7) << "option " << int(option);
    }
}

std::time_t localSeconds(std::tm time) {
    return std::mktime(&time);
}

TEST_F(CatalogueRoundtrip, UnitTimeReadsBackAsTheTimeThatWasSetAndWithoutAClockAsEmpty) {
    start();
    const auto sent = parseUnitTimeText("13451015062030");
    ASSERT_TRUE(sent.has_value());
    set(makeUnitTime(*sent));
    const auto text = parseUnitTime(ask(makePoll(CMD_GET_UNIT_TIME, 0)));
    ASSERT_TRUE(text.has_value());
    const auto got = parseUnitTimeText(*text);
    ASSERT_TRUE(got.has_value()) << "\"" << *text << "\"";
    // The unit's clock keeps running between the two exchanges.
    EXPECT_LE(std::abs(static_cast<long>(localSeconds(*got) - localSeconds(*sent))), 2) << *text;

    start({"--no-clock"});
    EXPECT_EQ(parseUnitTime(ask(makePoll(CMD_GET_UNIT_TIME, 0))), std::string{});
}

TEST_F(CatalogueRoundtrip,
       ASerialNumberSetIsTheIdentityOfLaterRepliesAndAfterLockWritesAreRefused) {
    start();
    set(makeSerialNumber(SerialNumberText{kUnitSerialNumber, "0987654321"}));
    const auto identity = parseAck(ask(makePoll(CMD_NONE)));
    ASSERT_TRUE(identity.has_value());
    EXPECT_EQ(identity->serial, 987654321u);

    EXPECT_EQ(ask(makePoll(CMD_LOCK)).id(), PKT_ACK);
    EXPECT_EQ(ask(makeAutoFs(AutoFs{1, 60, 1})).id(), PKT_NAK);
    EXPECT_EQ(ask(makeProgName(0, "refused")).id(), PKT_NAK);
}

// Every field of both global blocks (every speed range among them, 3 wrapping to 0 on the wire)
// comes back as it went, a reply stamping the unit's serial into bytes 2..5. A value read back
// through the catalogue's own parser would hide a field that its builder and parser both put at
// the same wrong byte; the unit's memory, named field by field, does not.
TEST_F(CatalogueRoundtrip, GlobalsReadBackAndTheUnitFilesEachWrittenFieldUnderItsOwnName) {
    start();
    GlobalBlock1 block1;
    block1.unitType = 5;
    block1.language = 2;
    block1.pins = {1111, 2222, 3333};
    block1.accessCode = 4;
    block1.auxTime = 90;
    block1.auxByte = 6;
    block1.resetDelayTime = 700;
    block1.resetDelayOff = 8;
    block1.resetDelayLastInput = 1;
    block1.optionFlag1 = true;
    block1.viewMode = 10;
    block1.flushType = 1;
    block1.relayMode = 12;
    block1.safetyStopMode = 13;
    set(makeGlobalBlock1(block1));
    GlobalBlock2 block2;
    block2.pumpSpeed = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    block2.flushValveTime = 500;
    block2.pumpSpeedRange = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1};
    set(makeGlobalBlock2(block2));
    block1.unitSerial = block2.unitSerial = kSimSerial;
    EXPECT_EQ(parseGlobalBlock1(ask(makePoll(CMD_GET_GLOBAL, 0))), block1);
    EXPECT_EQ(parseGlobalBlock2(ask(makePoll(CMD_GET_GLOBAL, 1))), block2);
    set(makePumpCal(PumpCalGroup{1, {{{}, {}, {}, {}, {0x0203, 4, 5, 6}}}}));
    ProgDataHalf half{2, 1, 3, 9, {}};
    half.pumps[1] = {1, 21, 22, 23, 24};
    set(makeProgDataHalf(half));
    set(makeAutoFs(AutoFs{3, 0x0405, 6}));
    EXPECT_EQ(parseAutoFs(ask(makePoll(CMD_GET_AUTOFS))), (AutoFs{3, 0x0405, 6}));
    set(makeResetTo(resetToForOption(21)));

    unit_->port.reset();
    ASSERT_EQ(unit_->sim.stop(), 0);
    const auto dump = nlohmann::json::parse(test::readFile(unit_->sim.dumpFile()));
    using P = nlohmann::json::json_pointer;
    const std::vector<std::pair<const char*, nlohmann::json>> fields = {
        {"/unitType", 5},
        {"/globals/language", 2},
        {"/globals/pins", {1111, 2222, 3333}},
        {"/globals/accessCode", 4},
        {"/globals/auxTime", 90},
        {"/globals/auxByte", 6},
        {"/globals/resetDelay", 700},
        {"/globals/resetDelayOff", 8},
        {"/globals/resetDelayLastInput", 1},
        {"/globals/optionFlags", 2},
        {"/globals/viewMode", 10},
        {"/globals/flushType", 1},
        {"/globals/relayMode", 12},
        {"/globals/safetyStopMode", 13},
        {"/globals/pumpSpeeds", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"/globals/flushValveTime", 500},
        // The unit keeps the ranges as they travel: one higher, with 3 wrapping to 0.
        {"/globals/pumpSpeedRanges", {1, 2, 3, 0, 1, 2, 3, 0, 1, 2}},
        {"/calibration/9", {{"volume", 0x0203}, {"day", 4}, {"month", 5}, {"year", 6}}},
        {"/programs/0/program", 2},
        {"/programs/0/trigger", 3},
        {"/programs/0/setting", 9},
        {"/programs/0/pumps/6", {1, 21, 22, 23, 24}},
        {"/autoFlush", {{"mode", 3}, {"time", 0x0405}, {"acceptTime", 6}}},
        {"/resetTo/kind", 0},
        {"/resetTo/value", 20},
    };
    for (const auto& [pointer, expected] : fields) {
        ASSERT_TRUE(dump.contains(P(pointer))) << pointer;
        EXPECT_EQ(dump.at(P(pointer)), expected) << pointer;
    }
}

// The program data operations over a whole record: a unit below 2.0.5 erases triggers to no
// pulses, 2.0.5 to one; a trigger left as erased is neither sent nor read back.
TEST(OperationsAgainstSimulator, ProgramDataComesBackForEveryProgrammedTrigger) {
    for (const char* version : {"1.3.0", "2.0.5"}) {
        SCOPED_TRACE(version);
        test::SimLink sim(test::testDir(), {"--version", version});
        UnitChannel channel{*sim.link};
        CommsData data;
        data.connection.rememberedPin = 1234;
        ASSERT_TRUE(Unlock(data, channel, {}));
        ASSERT_TRUE(EraseFormula(channel));
        const std::uint8_t pulses = defaultPulseCount(data.identity, channel);
        EXPECT_EQ(pulses, std::string_view(version) == "2.0.5" ? 1 : 0);

        ProgDataPart sent;
        for (auto& program : sent.programs) {
            for (auto& trigger : program) {
                trigger.setting = pulses;
            }
        }
        sent.programs[0][0].pumps[0] = {1, 30, 1, 5, 0};
        sent.programs[0][0].pumps[9] = {1, 0x58, 0x02, 0, 2};
        sent.programs[0][4].setting = 3;  // no pumps, but not the erased pulse count
        sent.programs[12][9].pumps[6] = {1, 0, 2, 10, 0};
        sent.programs[12][9].pumps[7] = {0, 5, 5, 5, 5};  // disabled: comes back disabled
        ASSERT_TRUE(SetProgData(sent, channel, pulses));

        CommsData read;
        ASSERT_TRUE(GetProgdata(read, channel));
        ProgDataPart expected = sent;
        for (auto& program : expected.programs) {
            for (auto& trigger : program) {
                const bool anyPump = std::any_of(trigger.pumps.begin(), trigger.pumps.end(),
                                                 [](const ProgPump& pump) { return pump.enabled; });
                if (!anyPump && trigger.setting == pulses) {
                    trigger = TriggerRecord{};
                }
            }
        }
        EXPECT_EQ(read.progData, expected);
        EXPECT_EQ(read.progData.programs[0][4].setting, 3);
        EXPECT_EQ(read.progData.programs[0][0].pumps[9].dose16(), 600);
    }
}

}  // namespace
}  // namespace qelto
