// An older unit on the legacy serial protocol, from the unit's side. It reads command frames
// (C8, command, data, CRC high, CRC low), acknowledges a good one with command + 1 and then waits
// for the PC to repeat the command byte before it carries the command out:
//
//   E8 sign-on        sends the unit type (old numbering) and three version characters, or
//                     nothing when it has no version (the first units)
//   D3 / DD / E7      (password commands, bit 0 set) two password bytes follow, high first; the
//                     unit answers 1 for the right password and 0 for a wrong one; then D3 sends
//                     the 66-byte configuration stream, DD receives it, E7 does nothing more.
//                     D3 and DD only on a laundry unit.
//   7A                dishwash unit only: general data (40 bytes) and the settings stream
//   CC / EA           from 1.10: program names / comments as data packets (type 40, address
//                     high, address low, count, data), then an end packet 80 00 00 00.
//                     Program i goes at address 25 * i in 128 bytes, zero filled; comments go in
//                     pieces of up to 128 bytes at their offset in the text.
//   CE / EC           from 1.10: the PC sends packets laid out the same way; the unit answers
//                     AA to each data packet (55 to one it cannot place) and nothing to the end
//                     packet, after which the received names or comments replace the old ones
//   F2                laundry unit only: its usage counters and general data (40 bytes)
//   FE                the unit's text about its memory, ended by a NUL
//   F8                from 1.10: one byte follows, which becomes the spare byte; the unit sends
//                     it back
//
// Any other command, and a command the unit's software does not have, is not acknowledged. A
// frame with a wrong CRC is ignored. A half-received exchange is abandoned after 3.5 s without
// a byte, as the PC gives up after 3 s.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sim/fault_plan.h"
#include "sim/legacy_memory.h"
#include "sim/request_log.h"
#include "sim/unit_port.h"

namespace qelto::sim {

class LegacyUnit : public UnitPort {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit LegacyUnit(LegacyMemory memory, FaultPlan faults = FaultPlan{},
                        RequestLog* log = nullptr, Clock clock = {});

    std::vector<std::uint8_t> receive(std::span<const std::uint8_t> bytes) override;
    nlohmann::json dump() const override;
    const LegacyMemory& memory() const { return memory_; }

  private:
    enum class State { Idle, Frame, Echo, Password, Config, Packet, SpareByte };

    void onByte(std::uint8_t byte, std::vector<std::uint8_t>& out);
    void onFrame(std::vector<std::uint8_t>& out);
    void onEcho(std::vector<std::uint8_t>& out);
    void onPassword(std::vector<std::uint8_t>& out);
    void onPacketByte(std::uint8_t byte, std::vector<std::uint8_t>& out);
    bool commandKnown(std::uint8_t command) const;
    void sendNames(std::vector<std::uint8_t>& out) const;
    void sendComments(std::vector<std::uint8_t>& out) const;
    void logFrame(const std::string& outcome);

    LegacyMemory memory_;
    FaultPlan faults_;
    RequestLog* log_;
    Clock clock_;
    State state_ = State::Idle;
    std::vector<std::uint8_t> collected_;
    std::uint8_t command_ = 0;
    std::uint8_t data_ = 0;
    std::uint64_t sequence_ = 0;
    std::array<std::string, 20> incomingNames_;
    std::vector<std::uint8_t> incomingComments_;  // by address
    std::chrono::steady_clock::time_point lastByte_{};
};

}  // namespace qelto::sim
