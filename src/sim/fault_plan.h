// Faults a test can ask the simulator to commit, counted over the requests it receives and the
// replies it sends (both numbered from 1). Each option fires on every Nth occurrence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qelto::sim {

struct FaultOptions {
    std::uint32_t dropEvery = 0;     // no reply to every Nth request
    std::uint32_t nakEvery = 0;      // PKT_NAK (legacy: a wrong acknowledge) to every Nth request
    std::uint32_t silentAfter = 0;   // no reply at all after N requests; 0 = never
    std::uint32_t corruptEvery = 0;  // every Nth reply with a wrong check word
    std::uint32_t rotateEvery = 0;   // every Nth reply rotated by rotateBy bytes, tail first
    std::uint32_t rotateBy = 0;
};

// "N:K" for --rotate-every; false when the text is not two numbers with K in 1..34.
bool parseRotation(const std::string& text, FaultOptions& options);

enum class RequestFault { None, Silent, Drop, Nak };
enum class ReplyFault { None, Corrupt, Rotate };

class FaultPlan {
  public:
    explicit FaultPlan(FaultOptions options = {}) : options_(options) {}

    // Called once per request received, in order.
    RequestFault onRequest();
    // Called once per reply about to be sent, in order.
    ReplyFault onReply();
    const FaultOptions& options() const { return options_; }

  private:
    FaultOptions options_;
    std::uint64_t requests_ = 0;
    std::uint64_t replies_ = 0;
};

}  // namespace qelto::sim
