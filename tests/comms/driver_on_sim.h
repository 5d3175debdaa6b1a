// The operation driver against a qelto-unitsim process through the real serial code: a document,
// a scripted engineer, and the unit's side as its request log and memory dump record it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "comms/operation_driver.h"
#include "integration/sim_link.h"
#include "model/unit_types.h"
#include "protocol/packet.h"
#include "scripted_prompts.h"

namespace qelto::test {

// A unit with something in every group of settings.
inline nlohmann::json unitMemory(const std::string& version = "1.3.0") {
    using nlohmann::json;
    return json{
        {"pin", 1234},
        {"version", version},
        {"unitType", 3},
        {"serial", 123456789},
        {"clock", "09410015032019"},
        {"globals",
         {{"pins", {1111, 2222, 3333}},
          {"accessCode", 2},
          {"resetDelay", 90},
          {"pumpSpeeds", {55, 65}},
          {"flushValveTime", 45}}},
        {"calibration", json::array({{{"volume", 0}}, {{"volume", 120}}})},
        {"programs",
         json::array({{{"program", 0},
                       {"trigger", 0},
                       {"setting", 3},
                       {"pumps", {{1, 30, 1, 5, 0}, {1, 44, 1, 0, 0}}}},
                      {{"program", 4},
                       {"trigger", 2},
                       {"setting", 1},
                       {"pumps", {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {1, 10, 0, 0, 2}}}}})},
        {"programNames", {"Towels", "Sheets"}},
        {"pumpNames", {"Detergent", "Bleach"}},
        {"customerLines", {"Hotel Sud", "Laundry 2"}},
        {"comments", {"Checked by the engineer o", "n site."}},
        {"description", "Wash line 3"},
        {"autoFlush", {{"mode", 1}, {"time", 90}, {"acceptTime", 2}}},
        {"resetTo", {{"kind", 0}, {"value", 1}, {"fsVersion", 3}}},
    };
}

// One request as the unit received it.
struct Request {
    int id = 0;
    int cmd = 0;  // the poll command (PKT_POLL only)
    int byte7 = 0;
    std::string outcome;
};

class DriverOnSim : public ::testing::Test {
  protected:
    void SetUp() override {
        doc.OnNewDocument();
        prompts.options = comms::allOptions();
        prompts.options->bAppendComments = false;
    }

    void start(const nlohmann::json& memory, std::vector<std::string> options = {}) {
        const auto state = testDir() / "unit.json";
        writeFile(state, memory.dump());
        options.insert(options.begin(), {"--state", state.string()});
        sim = std::make_unique<SimLink>(options);
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

    std::vector<Request> requests() const {
        std::istringstream lines(readFile(sim->sim.requestLog()));
        std::vector<Request> out;
        for (std::string line; std::getline(lines, line);) {
            const auto entry = nlohmann::json::parse(line);
            Request r;
            r.id = entry.at("id").get<int>();
            r.cmd = entry.value("cmd", 0);
            r.byte7 = entry.value("byte7", 0);
            r.outcome = entry.value("outcome", "");
            out.push_back(r);
        }
        return out;
    }

    // The poll commands the unit received, in order.
    std::vector<int> pollCommands() const {
        std::vector<int> commands;
        for (const Request& r : requests()) {
            if (r.id == protocol::PKT_POLL) {
                commands.push_back(r.cmd);
            }
        }
        return commands;
    }

    bool sent(protocol::PollCmd command) const {
        const auto commands = pollCommands();
        return std::find(commands.begin(), commands.end(), command) != commands.end();
    }

    int countOf(int packetId) const {
        const auto all = requests();
        return static_cast<int>(std::count_if(all.begin(), all.end(),
                                              [&](const Request& r) { return r.id == packetId; }));
    }

    // The unit's memory once the simulator has stopped.
    nlohmann::json unitAfter() {
        sim->sim.stop();
        return nlohmann::json::parse(readFile(sim->sim.dumpFile()));
    }

    model::CProgData config;
    model::NoPumpNameDefaults pumpDefaults;
    model::CQeltoDoc doc{config, pumpDefaults};
    std::unique_ptr<SimLink> sim;
    protocol::CommsData data;
    ScriptedPrompts prompts;
    std::vector<model::DocHint> hints;
};

}  // namespace qelto::test
