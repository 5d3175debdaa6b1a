// A Bluetooth LE serial dongle with laundry units behind its modules. Until it is paired it is a
// modem taking text commands; after a successful "AT+CONN" it passes every byte through to the
// chosen module's unit and back, so the unit is reached as a directly wired one.
//
// Commands, each answered with exactly the bytes a PC reads for it:
//   "AT"          "OK". The dongle only knows that "AT" is complete when no "+" follows, so it
//                 answers after a short pause on the line, or at once when other bytes follow.
//   "AT+DISC?"    the module list (ble_discovery.h), every module given, in order.
//   "AT+CONN<d>"  "K+C<d>" when module d exists, then pass-through to its unit; "K-C<d>"
//                 otherwise, and the dongle stays in command mode.
// Bytes that start no command are dropped, as the modem drops line noise; a pause also drops a
// command left half-sent.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/ble_discovery.h"
#include "sim/laundry_port.h"
#include "sim/request_log.h"
#include "sim/unit_port.h"

namespace qelto::sim {

inline constexpr std::size_t kMaxBleModules = 10;  // "AT+CONN" takes one digit

struct BleModule {
    BleModuleAdvert advert;
    std::unique_ptr<LaundryPort> port;
};

class BleDonglePort : public UnitPort {
  public:
    explicit BleDonglePort(std::vector<BleModule> modules, RequestLog* log = nullptr);

    std::vector<std::uint8_t> receive(std::span<const std::uint8_t> bytes) override;
    // An array, one entry per module in the order given: its unit's memory plus "module",
    // "signal" and "paired".
    nlohmann::json dump() const override;
    std::optional<std::chrono::milliseconds> quietWanted() const override;
    std::vector<std::uint8_t> onQuiet() override;

    std::optional<std::size_t> paired() const { return paired_; }

  private:
    void runCommands(std::string& out);
    void connect(char digit, std::string& out);
    void log(nlohmann::json entry);

    std::vector<BleModule> modules_;
    std::vector<BleModuleAdvert> adverts_;
    RequestLog* log_;
    std::string pending_;
    std::optional<std::size_t> paired_;
    std::uint64_t sequence_ = 0;
};

}  // namespace qelto::sim
