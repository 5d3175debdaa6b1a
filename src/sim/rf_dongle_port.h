// An RF dongle with laundry units on radio channels. The dongle answers PKT_RF_SETTINGS itself
// and relays every other frame to the unit on the channel its radio is tuned to; a channel on
// which no unit listens stays silent, as the air does.
//
// Its answer to PKT_RF_SETTINGS carries nine radio setting bytes (packet bytes 6..14):
//   6      1, as in the request
//   7      the channel the radio is now tuned to
//   8      signal strength of the unit on that channel (0 when none listens there)
//   9..13  the radio's own fixed settings: power 7, data rate 2, network "QEL"
//   14     0
// Channel 0xFF changes nothing (a PC reads the signal strength that way); any other channel
// retunes the radio first. A refused channel gets no answer and leaves the radio where it was,
// as a dongle whose radio rejects the setting does. The radio starts on channel 0.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "sim/frame_reader.h"
#include "sim/laundry_port.h"
#include "sim/request_log.h"
#include "sim/unit_port.h"

namespace qelto::sim {

inline constexpr std::size_t kRfSignalByte = 8;

struct RfUnit {
    std::uint8_t channel = 0;
    std::uint8_t signal = 0;
    std::unique_ptr<LaundryPort> port;
};

class RfDonglePort : public UnitPort {
  public:
    // Channels must differ between units: two units on one channel would answer together.
    RfDonglePort(std::vector<RfUnit> units, std::set<std::uint8_t> refusedChannels,
                 RequestLog* log = nullptr);

    std::vector<std::uint8_t> receive(std::span<const std::uint8_t> bytes) override;
    // An array, one entry per unit in the order given: its memory plus "rfChannel" and "signal".
    nlohmann::json dump() const override;
    std::uint8_t channel() const { return channel_; }

  private:
    void answerSettings(const protocol::Packet& request, std::vector<std::uint8_t>& out);
    void relay(const protocol::Packet& request, std::vector<std::uint8_t>& out);
    const RfUnit* unitOn(std::uint8_t channel) const;
    void log(nlohmann::json entry);

    std::vector<RfUnit> units_;
    std::set<std::uint8_t> refused_;
    FrameReader reader_;
    RequestLog* log_;
    std::uint8_t channel_ = 0;
    std::uint64_t sequence_ = 0;
};

}  // namespace qelto::sim
