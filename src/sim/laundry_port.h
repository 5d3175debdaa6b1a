// A laundry unit on a serial line: frames in, frames out, with the faults of the plan applied
// and every request logged.
#pragma once

#include <utility>

#include "sim/fault_plan.h"
#include "sim/frame_reader.h"
#include "sim/laundry_unit.h"
#include "sim/request_log.h"
#include "sim/unit_port.h"

namespace qelto::sim {

class LaundryPort : public UnitPort {
  public:
    LaundryPort(LaundryUnit unit, FaultPlan faults, RequestLog* log = nullptr);

    std::vector<std::uint8_t> receive(std::span<const std::uint8_t> bytes) override;
    nlohmann::json dump() const override;
    const LaundryUnit& unit() const { return unit_; }
    // Fields added to each of its request log lines: behind a dongle several units share one
    // log, and each line must say which of them it was.
    void setLogTag(nlohmann::json tag) { logTag_ = std::move(tag); }

  private:
    void serve(const protocol::Packet& request, std::vector<std::uint8_t>& out);

    LaundryUnit unit_;
    FaultPlan faults_;
    FrameReader reader_;
    RequestLog* log_;
    nlohmann::json logTag_ = nlohmann::json::object();
    std::uint64_t sequence_ = 0;
};

}  // namespace qelto::sim
