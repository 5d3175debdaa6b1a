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
