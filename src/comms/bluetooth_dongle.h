// The Bluetooth LE serial dongle in its command mode: is it there ("AT"), which units does it
// hear ("AT+DISC?"), and connect to one of them ("AT+CONN<d>"). Once connected the dongle passes
// bytes straight through, and the unit behind it is reached as a directly wired one.
//
// Every byte is read on its own with its own wait, as the dongle's replies come in bursts with
// pauses between them; the discovery ends at the first pause longer than that wait.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/byte_link.h"
#include "protocol/packet_link.h"

namespace qelto::comms {

struct BluetoothTimings {
    std::chrono::milliseconds byteRead{3000};
    std::chrono::milliseconds byteWrite{3000};
    // Between a command and the first read of its answer.
    std::chrono::milliseconds settle{100};
};

inline constexpr std::size_t kDiscoveryLimit = 1024;
// "AT+CONN" takes the line number as one digit.
inline constexpr std::size_t kMaxPairLine = 9;

enum class PairResult {
    Paired,
    Refused,         // the dongle answered, but not "K+"
    NoReply,         // nothing (or too little) came back, or the command could not be sent
    LineOutOfRange,  // above kMaxPairLine: nothing was sent
};

class BluetoothDongle {
  public:
    // abort is the operator's cancel flag; it ends a discovery between two bytes.
    BluetoothDongle(platform::ByteLink& link, const std::atomic<bool>& abort,
                    protocol::SleepFunction sleep = protocol::realSleep,
                    BluetoothTimings timings = {});

    // True when "AT" is answered "OK".
    bool detect();

    // The raw answer to "AT+DISC?": up to kDiscoveryLimit bytes, ending at a byte time-out or the
    // operator's cancel. progress is told the count after every byte.
    std::vector<std::uint8_t> discover(const std::function<void(std::size_t)>& progress = {});

    // Connects to the module of list line `line` (from parseModuleList).
    PairResult pair(std::size_t line);

  private:
    bool send(const char* command);
    // Reads up to out.size() bytes one at a time; stops at the first byte that does not come.
    std::size_t readBytes(std::span<std::uint8_t> out);

    platform::ByteLink& link_;
    const std::atomic<bool>& abort_;
    protocol::SleepFunction sleep_;
    BluetoothTimings timings_;
};

}  // namespace qelto::comms
