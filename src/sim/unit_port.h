// What the serving loop talks to: a unit behind a byte stream. It is fed whatever bytes arrive
// and hands back the bytes to send.
#pragma once

#include <chrono>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <vector>

namespace qelto::sim {

class UnitPort {
  public:
    virtual ~UnitPort() = default;
    virtual std::vector<std::uint8_t> receive(std::span<const std::uint8_t> bytes) = 0;
    // The unit's memory in the shape of the --state file (see sim_state.h).
    virtual nlohmann::json dump() const = 0;

    // A device that ends a command by a pause on the line (a Bluetooth dongle's "AT") asks to be
    // told when the line has been quiet this long; onQuiet() then gives what it sends.
    virtual std::optional<std::chrono::milliseconds> quietWanted() const { return std::nullopt; }
    virtual std::vector<std::uint8_t> onQuiet() { return {}; }
};

}  // namespace qelto::sim
