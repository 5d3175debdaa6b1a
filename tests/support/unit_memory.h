// The memory of the simulated unit most tests start from: something in every group of settings.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace qelto::test {

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

// unitMemory() with usage counters of its own, programs and pumps counted from 0 (program 0 is
// all programs): pump 1 in program 1 and in all, and pump 0 with a three-byte amount.
inline nlohmann::json unitMemoryWithCounters() {
    nlohmann::json memory = unitMemory();
    memory["usage"] = {{"counters",
                        {{{"program", 1}, {"pump", 1}, {"cycles", 12}, {"amount", 3400}},
                         {{"program", 0}, {"pump", 1}, {"cycles", 40}, {"amount", 70000}},
                         {{"program", 0}, {"pump", 0}, {"cycles", 2}, {"amount", 0x010203}}}}};
    return memory;
}

// An older laundry unit (software `version`, password 4321) with something in every setting of its
// configuration stream, names, comments and a text dump.
inline nlohmann::json legacyLaundryMemory(const std::string& version) {
    return nlohmann::json{{"version", version},
                          {"password", 4321},
                          {"config",
                           {{"customerLines", {"Hotel Sud", "Laundry 2"}},
                            {"unitType", 7},
                            {"pumpSpeed", 90},
                            {"accessCode", 12},
                            {"resetDelay", 125},
                            {"flushValveTime", 90},
                            {"runTime", {1, 15}},
                            {"pins", {1111, 2222, 3333}},
                            {"auxByte", 9}}},
                          {"programNames", {"Towels", "Sheets"}},
                          {"comments", "Checked on site."},
                          {"dumpText", "FLASH <ok> & RAM ok\r\nEND\r\n"}};
}

}  // namespace qelto::test
