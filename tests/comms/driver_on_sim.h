// The operation driver against a qelto-unitsim process through the real serial code: a document,
// a scripted engineer, and the unit's side as its request log and memory dump record it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "comms/operation_driver.h"
#include "model/unit_types.h"
#include "protocol/packet.h"
#include "scripted_prompts.h"
#include "support/sim_link.h"
#include "support/test_env.h"
#include "support/unit_memory.h"

namespace qelto::test {

class DriverOnSim : public ::testing::Test {
  protected:
    void SetUp() override {
        doc.onNewDocument();
        prompts.options = comms::allOptions();
        prompts.options->bAppendComments = false;
    }

    void start(const nlohmann::json& memory, std::vector<std::string> options = {}) {
        sim = std::make_unique<SimLink>(testDir(),
                                        stateOptions(testDir(), memory, std::move(options)));
        data.connection.rememberedPin = 1234;
    }

    comms::OperationContext context() {
        comms::OperationContext c{doc,
                                  *sim->link,
                                  data,
                                  prompts,
                                  [](int id) { return "text " + std::to_string(id); },
                                  1,
                                  [this](model::DocHint hint) { hints.push_back(hint); }};
        c.clock = [] {
            std::tm t{};
            t.tm_hour = 14;
            t.tm_min = 5;
            t.tm_sec = 9;
            t.tm_mday = 15;
            t.tm_mon = 2;
            t.tm_year = 119;
            return t;
        };
        c.sleep = [](std::chrono::milliseconds) {};
        return c;
    }

    // The poll commands the unit received, in order.
    std::vector<int> pollCommands() const { return sim->sim.pollCommands(); }

    bool sent(protocol::PollCmd command) const {
        const auto commands = pollCommands();
        return std::find(commands.begin(), commands.end(), command) != commands.end();
    }

    int countOf(int packetId) const {
        return static_cast<int>(std::ranges::count_if(
            sim->sim.requests(), [&](const auto& r) { return r.at("id") == packetId; }));
    }

    // The unit's memory once the simulator has stopped.
    nlohmann::json unitAfter() { return sim->sim.stopAndDump(); }

    model::CProgData config;
    model::NoPumpNameDefaults pumpDefaults;
    model::CQeltoDoc doc{config, pumpDefaults};
    std::unique_ptr<SimLink> sim;
    protocol::CommsData data;
    ScriptedPrompts prompts;
    std::vector<model::DocHint> hints;
};

}  // namespace qelto::test
