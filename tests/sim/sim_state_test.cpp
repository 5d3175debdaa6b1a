#include "sim/sim_state.h"

#include <gtest/gtest.h>

#include "sim/unit_clock.h"

namespace qelto::sim {
namespace {

using nlohmann::json;

constexpr std::int64_t kNow = 1'700'000'000;

TEST(SimState, ALaundryDumpLoadsBackToTheSameMemory) {
    LaundryMemory memory = factoryMemory(Identity{}, 1234);
    memory.globals.pins = {1, 2, 3};
    memory.programs[4][2].setting = 2;
    memory.programs[4][2].pumps[9] = PumpStep{1, {0x58, 0x02}, 3, 0};
    memory.programNames[3] = "Cotton 60\xB0";  // Latin-1 degree sign
    memory.comments.push_back(CommentBlock{'h', 'i'});
    memory.resetTo = {0, 5, 1};
    memory.hasClock = false;

    const json dumped = laundryStateToJson(memory, kNow);
    EXPECT_EQ(dumped["programNames"][3], "Cotton 60\u00B0");
    ASSERT_EQ(dumped["programs"].size(), 1u);  // only what differs from the erased state
    EXPECT_EQ(dumped["programs"][0]["pumps"][9], json::array({1, 0x58, 0x02, 3, 0}));

    LaundryMemory loaded = factoryMemory(Identity{}, 1);
    applyLaundryState(json::parse(dumped.dump()), loaded, kNow);
    EXPECT_EQ(loaded.programs, memory.programs);
    EXPECT_EQ(loaded.programNames, memory.programNames);
    EXPECT_EQ(loaded.comments, memory.comments);
    EXPECT_EQ(loaded.globals.pins, memory.globals.pins);
    EXPECT_EQ(loaded.resetTo.value, 5);
    EXPECT_EQ(loaded.accessPin, 1234);
    EXPECT_FALSE(loaded.hasClock);
}

TEST(SimState, APartialStateChangesOnlyWhatItNames) {
    LaundryMemory memory = factoryMemory(Identity{}, 1234);
    const json partial{
        {"globals", {{"pumpSpeeds", {10, 20}}}}, {"clock", "12000001012020"}, {"version", "2.1.0"}};
    applyLaundryState(partial, memory, kNow);
    EXPECT_EQ(memory.globals.pumpSpeeds[1], 20);
    EXPECT_EQ(memory.globals.pumpSpeeds[2], 80);
    EXPECT_EQ(formatUnitTime(kNow + memory.clockOffset), "12000001012020");
    // From 2.0.5 on an erased trigger counts one pulse, and the loaded unit must agree.
    EXPECT_EQ(memory.programs[0][0].setting, 1);
    EXPECT_FALSE(triggerProgrammed(memory, 0, 0));
}

TEST(SimState, AWrongValueIsRefusedByName) {
    LaundryMemory memory;
    try {
        applyLaundryState(json::parse(R"({"unitType": 256})"), memory, kNow);
        FAIL() << "accepted";
    } catch (const StateError& e) {
        EXPECT_NE(std::string(e.what()).find("unitType"), std::string::npos);
    }
    EXPECT_THROW(applyLaundryState(json::parse(R"({"programs": [{"program": 20}]})"), memory, kNow),
                 StateError);
    EXPECT_THROW(applyLaundryState(json::parse(R"({"clock": "25000001012020"})"), memory, kNow),
                 StateError);
    EXPECT_THROW(applyLaundryState(json::parse(R"({"version": "1.3"})"), memory, kNow), StateError);
}

TEST(SimState, ALegacyDumpLoadsBack) {
    LegacyMemory memory;
    memory.kind = LegacyKind::Dishwash;
    memory.version = std::array<char, 3>{'1', '1', '0'};
    memory.dishwash.pumps[2].flow = {1, 2, 3, 4, 5};
    memory.dishwash.outputs[3].time = {12, 34};
    const json dumped = legacyStateToJson(memory);
    EXPECT_EQ(dumped["kind"], "legacy-dishwash");
    EXPECT_EQ(dumped["version"], "1.1.0");
    LegacyMemory loaded;
    applyLegacyState(dumped, loaded);
    EXPECT_EQ(loaded.version, memory.version);
    EXPECT_EQ(loaded.dishwash.pumps[2].flow, memory.dishwash.pumps[2].flow);
    EXPECT_EQ(loaded.dishwash.outputs[3].time, memory.dishwash.outputs[3].time);
    applyLegacyState(json::parse(R"({"version": null})"), loaded);
    EXPECT_FALSE(loaded.version);
}

}  // namespace
}  // namespace qelto::sim
