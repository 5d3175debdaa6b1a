// A laundry unit on a serial line: frames in, frames out, with the faults of the plan applied
// and every request logged.
#pragma once

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

  private:
    void serve(const protocol::Packet& request, std::vector<std::uint8_t>& out);

    LaundryUnit unit_;
    FaultPlan faults_;
    FrameReader reader_;
    RequestLog* log_;
    std::uint64_t sequence_ = 0;
};

}  // namespace qelto::sim
