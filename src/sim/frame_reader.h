// Cuts the byte stream a unit receives into request frames. A unit knows nothing of where a
// frame starts except the "0" marker, so after line noise or a frame cut short it drops bytes
// until 35 of them, starting with a marker, carry a valid check word.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <span>

#include "protocol/packet.h"

namespace qelto::sim {

class FrameReader {
  public:
    void push(std::span<const std::uint8_t> bytes);
    // The next complete, valid request, or nullopt until more bytes arrive.
    std::optional<protocol::Packet> next();
    std::size_t pending() const { return buffer_.size(); }
    std::size_t discarded() const { return discarded_; }

  private:
    std::deque<std::uint8_t> buffer_;
    std::size_t discarded_ = 0;
};

}  // namespace qelto::sim
