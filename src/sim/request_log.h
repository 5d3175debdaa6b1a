// One JSON object per line for every request the simulator receives, written and flushed as it
// happens, so a test can read what reached the unit while the simulator still runs.
//
// Packet protocol: {"seq":1,"id":1,"cmd":0,"byte7":0,"byte8":0,"outcome":"answered","reply":2}
//   "cmd" only for PKT_POLL; "reply" is the identifier sent, absent when nothing was sent.
// Legacy protocol: {"seq":1,"legacyCmd":232,"data":1,"outcome":"answered"}
// Outcomes: "answered", "unanswered" (the unit stays silent by nature), "dropped", "silent"
// (after --silent-after), "nak", "corrupted", "rotated", "refused" (legacy: wrong password),
// "badcrc" (legacy: a frame whose CRC failed). A legacy password command gets a second line
// once its password arrived, with the outcome "accepted" or "refused".
//
// Behind a dongle every unit's line also says which unit it was, from 0 in the order of the
// options, and "seq" counts that unit's own requests:
//   RF:        {"seq":1,"id":1,"cmd":0,...,"unit":1,"channel":9}
//   Bluetooth: {"seq":1,"id":1,"cmd":0,...,"unit":0,"module":"KNW_A1"}
// The dongle writes lines of its own, marked "dongle", whose "seq" counts its own events:
//   RF, for PKT_RF_SETTINGS: {"dongle":"rf","seq":3,"id":23,"requested":9,"channel":9,
//     "signal":180,"outcome":"switched"|"answered"|"refused","reply":23} ("reply" and "signal"
//     absent when refused); for a packet on a channel where no unit listens:
//     {"dongle":"rf","seq":4,"id":1,"channel":5,"outcome":"no unit"}
//   Bluetooth: {"dongle":"ble","seq":1,"command":"AT","outcome":"answered"},
//     {"dongle":"ble","seq":2,"command":"AT+DISC?","outcome":"answered","modules":2},
//     {"dongle":"ble","seq":3,"command":"AT+CONN","digit":48,"outcome":"paired"|"refused",
//      "module":"KNW_A1"} ("module" only when paired)
#pragma once

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>

namespace qelto::sim {

class RequestLog {
  public:
    RequestLog() = default;
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;
    ~RequestLog();

    bool open(const std::filesystem::path& path);  // truncates
    void write(const nlohmann::json& entry);       // no-op when not open

  private:
    std::FILE* file_ = nullptr;
};

}  // namespace qelto::sim
