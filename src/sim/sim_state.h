// The simulator's memory as JSON: what --state loads (any subset of the fields; the rest keep
// their factory values) and what --dump writes (every field). Texts are UTF-8 in JSON and Latin-1
// in the unit. Numbers are the unit's own: times in seconds, speed ranges as on the wire.
//
// Packet-protocol laundry unit ("kind": "laundry"):
// {
//   "kind": "laundry",                       dump only
//   "serial": 123456789, "productCode": 1, "unitType": 3, "version": "1.3.0",
//   "processorSerial": 12648430, "pin": 1234,
//   "clock": "HHMMSSDDMMYYYY" | null,        the unit's time now; null = no clock fitted
//   "locked": true,                          dump only
//   "globals": {"language": 0, "pins": [6179, 7159, 7318], "accessCode": 1, "auxTime": 0,
//               "auxByte": 0, "resetDelay": 20, "resetDelayOff": 0, "resetDelayLastInput": 0,
//               "optionFlags": 3, "block1Spare": [0, 0, 0], "viewMode": 1, "flushType": 0,
//               "relayMode": 0, "safetyStopMode": 0, "pumpSpeeds": [80, ...10],
//               "flushValveTime": 0, "block2Words": [0, 0], "pumpSpeedRanges": [0, ...10]},
//   "calibration": [{"volume": 0, "day": 0, "month": 0, "year": 0}, ...10],
//   "programs": [{"program": 0, "trigger": 0, "setting": 1,
//                 "pumps": [[enabled, run0, run1, delaySeconds, delayMinutes], ...10]}],
//                                            only triggers that differ from the erased state;
//                                            run0/run1 = run seconds/minutes or dose low/high
//   "programNames": ["", ...20], "pumpNames": ["", ...10], "customerLines": ["", ""],
//   "comments": ["first 25 characters", ...], one string per stored block, in order
//   "description": "", "serialText": "", "identificationText": "",
//   "autoFlush": {"mode": 0, "time": 30, "acceptTime": 1},
//   "resetTo": {"kind": 0, "value": 1, "fsVersion": 0},
//   "counters": {"cycles": 0, "washes": 0},
//   "pumpRuns": [{"pump": 0, "command": 1, "seconds": 60, "speed": 100}],  dump only
//   "usage": {"log": [...], "counters": [...], "generate": {...}}   see usage_state.h
// }
// Arrays may be shorter than their full length when loading; missing entries keep their values.
//
// Behind a dongle (--rf-dongle, --bt-dongle) each unit loads its own state file in this shape, and
// --dump writes a JSON array with one such object per unit, in the order of the --rf-unit or
// --bt-module options, each with the dongle's view of it added (ignored when loaded again):
//   RF:        "rfChannel": 9, "signal": 180
//   Bluetooth: "module": "KNW_A1", "signal": 72, "paired": true
//
// Legacy units ("kind": "legacy-laundry" or "legacy-dishwash"), all kinds:
// {
//   "kind": ..., "version": "1.1.0" | null (null: the unit signs on without device information),
//   "password": 1234, "programNames": ["", ...20], "comments": "", "spareByte": 0,
//   "thirdCommandCount": 0,                  dump only: how often 0xE6 was accepted
//   "dumpText": "...",                       what 0xFE prints (a NUL follows it)
//   "usage": {...}                           legacy laundry: the counters 0xF2 reports
//     {"pumpCount": 4, "totalCycles": 0,
//      "pumps": [{"hours": 0, "minutes": 0, "seconds": 0, "flow": 0,
//                 "calibrated": [day, month, year - 2000], "cycles": 0}, ...10],
//      "programs": [{"used": false, "time": [[hours, minutes, seconds], ...10],
//                    "cycles": [0, ...10]}, ...20]}
//   "config": {...}                          legacy laundry: the 66-byte configuration stream
//     {"customerLines": ["", ""], "unitType": 3 (old numbering), "spareText": [0, ...9],
//      "pumpSpeed": 80, "accessCode": 1, "pulseCount": 1, "resetDelay": 20,
//      "flushValveTime": 0, "auxTime": 0, "runTime": [0, 45], "delayTime": [0, 0],
//      "resetDelayOff": 0, "byte64": 0, "pins": [6179, 7159, 7318], "auxByte": 0}
//   "signOnType": 20,                        legacy dishwash: the type its sign-on reports
//   "dishwash": {...}                        legacy dishwash: general data and settings stream
//     {"customerLines": ["", ""], "pins": [6179, 7159, 7318], "typeByte": 1, "modeByte": 1,
//      "icMode": 1, "icRun": [0, 30], "icPulse": 1, "icDelay": [0, 0],
//      "ic2Mode": 0, "ic2Run": [0, 0], "ic2Pulse": 0, "ic2Delay": [0, 0],
//      "probeMode": 1, "probeInitialDelay": [3, 0], "probeConcentration": 170,
//      "probeAlarmDelay": [5, 0], "probeAlarmOff": 0, "numPumps": 3,
//      "pumps": [{"speed": 100, "run": [0, 4], "off": [0, 4], "pulse": 1,
//                 "flow": [0, 0, 0, 0, 0]}, ...3],
//      "ioCheckbox": 0, "outputs": [{"percent": 100, "time": [0, 0], "duration": [0, 0]}, ...4],
//      "propRunning": 0, "propTo": 0, "spare": [0, ...8]}
//     Pairs like [0, 30] are [minutes, seconds]; typeByte and modeByte are as sent (1-based).
// }
#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "sim/legacy_memory.h"
#include "sim/unit_memory.h"

namespace qelto::sim {

// Thrown for a state file with a wrong type or an out-of-range value, naming the field.
class StateError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

nlohmann::json laundryStateToJson(const LaundryMemory& memory, std::int64_t hostNow);
void applyLaundryState(const nlohmann::json& state, LaundryMemory& memory, std::int64_t hostNow);

nlohmann::json legacyStateToJson(const LegacyMemory& memory);
void applyLegacyState(const nlohmann::json& state, LegacyMemory& memory);

// "1.3.0" or "130": the three version characters.
bool parseVersion(const std::string& text, std::array<char, 3>& version);
std::string versionText(const std::array<char, 3>& version);

}  // namespace qelto::sim
