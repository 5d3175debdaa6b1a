#include "comms/bluetooth_dongle.h"

#include <array>
#include <cstring>
#include <utility>

namespace qelto::comms {

using platform::IoStatus;

BluetoothDongle::BluetoothDongle(platform::ByteLink& link, const std::atomic<bool>& abort,
                                 protocol::SleepFunction sleep, BluetoothTimings timings)
    : link_(link), abort_(abort), sleep_(std::move(sleep)), timings_(timings) {}

bool BluetoothDongle::send(const char* command) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(command);
    return link_.write(std::span(bytes, std::strlen(command)), timings_.byteWrite) == IoStatus::Ok;
}

std::size_t BluetoothDongle::readBytes(std::span<std::uint8_t> out) {
    std::size_t count = 0;
    while (count < out.size() &&
           link_.read(out.subspan(count, 1), timings_.byteRead) == IoStatus::Ok) {
        ++count;
    }
    return count;
}

bool BluetoothDongle::detect() {
    if (!send("AT")) {
        return false;
    }
    sleep_(timings_.settle);
    std::array<std::uint8_t, 2> reply{};
    return readBytes(reply) == reply.size() && reply[0] == 'O' && reply[1] == 'K';
}

std::vector<std::uint8_t> BluetoothDongle::discover(
    const std::function<void(std::size_t)>& progress) {
    std::vector<std::uint8_t> received;
    if (!send("AT+DISC?")) {
        return received;
    }
    sleep_(timings_.settle);
    std::uint8_t byte = 0;
    while (received.size() < kDiscoveryLimit && !abort_.load() &&
           link_.read(std::span(&byte, 1), timings_.byteRead) == IoStatus::Ok) {
        received.push_back(byte);
        if (progress) {
            progress(received.size());
        }
    }
    return received;
}

PairResult BluetoothDongle::pair(std::size_t line) {
    // '0' + 10 would send ':' and connect to whatever the dongle makes of it.
    if (line > kMaxPairLine) {
        return PairResult::LineOutOfRange;
    }
    const char command[] = {'A', 'T', '+', 'C', 'O', 'N', 'N', static_cast<char>('0' + line), '\0'};
    if (!send(command)) {
        return PairResult::NoReply;
    }
    sleep_(timings_.settle);
    // The answer is four bytes, but only its first two say anything.
    std::array<std::uint8_t, 4> reply{};
    if (readBytes(reply) < 2) {
        return PairResult::NoReply;
    }
    return reply[0] == 'K' && reply[1] == '+' ? PairResult::Paired : PairResult::Refused;
}

}  // namespace qelto::comms
