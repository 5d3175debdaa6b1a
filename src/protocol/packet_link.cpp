#include "protocol/packet_link.h"

#include <thread>

#include "protocol/frame.h"

namespace qelto::protocol {
namespace {

constexpr std::chrono::milliseconds kDrainPause{100};

}  // namespace

void realSleep(std::chrono::milliseconds duration) {
    if (duration.count() > 0) {
        std::this_thread::sleep_for(duration);
    }
}

SerialPacketPath::SerialPacketPath(platform::ByteLink& port, const LinkState& state,
                                   SerialTimings timings, SleepFunction sleep)
    : port_(port), state_(state), timings_(timings), sleep_(std::move(sleep)) {}

LinkStatus SerialPacketPath::writePacket(const Packet& packet) {
    if (timings_.throttleSteps > 0) {
        sleep_(std::chrono::milliseconds(10 * timings_.throttleSteps));
    }
    const Frame frame = encodeFrame(packet);
    return port_.write(frame, timings_.byteWrite) == platform::IoStatus::Ok ? LinkStatus::Ok
                                                                            : LinkStatus::Failed;
}

LinkStatus SerialPacketPath::readPacket(Packet& packet) {
    Frame received{};
    const auto wait = state_.fastScan.load() ? timings_.fastScanReply : timings_.reply;
    if (port_.read(received, wait) != platform::IoStatus::Ok) {
        return LinkStatus::Failed;
    }
    const Frame frame = realignFrame(received, state_.selectedSerial.load());
    packet = packetFromFrame(frame);
    return frameCheckWordValid(frame) ? LinkStatus::Ok : LinkStatus::Failed;
}

HidPacketPath::HidPacketPath(platform::HidDevice& device, std::chrono::milliseconds replyTimeout)
    : device_(device), replyTimeout_(replyTimeout) {}

LinkStatus HidPacketPath::writePacket(const Packet& packet) {
    return device_.writeReport(encodeHidReport(packet)) == platform::IoStatus::Ok
               ? LinkStatus::Ok
               : LinkStatus::Failed;
}

LinkStatus HidPacketPath::readPacket(Packet& packet) {
    platform::HidReportBytes report{};
    if (device_.readReport(report, replyTimeout_) != platform::IoStatus::Ok) {
        return LinkStatus::Failed;
    }
    packet = packetFromHidReport(report);
    return LinkStatus::Ok;
}

PacketLink::PacketLink(PacketPath& path, PacketTap* tap, const std::atomic<bool>& abort,
                       SleepFunction sleep)
    : path_(path), tap_(tap), abort_(abort), sleep_(std::move(sleep)) {}

void PacketLink::logNew(const Packet& request) {
    if (tap_ != nullptr) {
        tap_->onPacket(request, PacketDirection::New);
    }
}

void PacketLink::noteUnanswered(const Packet& request) {
    if (silenceEndsOperation_ && !unanswered_) {
        unanswered_ = request;
    }
}

bool PacketLink::takeLastLockTry() {
    const bool first = !lastLockTried_;
    lastLockTried_ = true;
    return first;
}

LinkStatus PacketLink::WriteReadPacket(const Packet& request, Packet& reply, int attempts,
                                       const RetryNotice& onRetry) {
    const int given = attempts;
    while (attempts > 0) {
        if (attempts < given && onRetry) {
            onRetry(given - attempts + 1, given);
        }
        const LinkStatus written = path_.writePacket(request);
        if (tap_ != nullptr) {
            tap_->onPacket(request, PacketDirection::Sent);
        }
        LinkStatus read = LinkStatus::Failed;
        if (written != LinkStatus::Ok) {
            if (abort_.load()) {
                break;
            }
            // Whatever the unit or dongle still sends belongs to no request: read it away.
            sleep_(kDrainPause);
            path_.readPacket(reply);
            sleep_(kDrainPause);
            path_.readPacket(reply);
            reply = Packet{};
        } else {
            read = path_.readPacket(reply);
            if (tap_ != nullptr) {
                tap_->onPacket(reply, PacketDirection::Received);
            }
        }
        if (written == LinkStatus::Ok && read == LinkStatus::Ok) {
            return LinkStatus::Ok;
        }
        --attempts;
        // A cancel takes effect between attempts, also after a reply that never came: an
        // operator who presses Cancel at a silent unit must not wait out every retry.
        if (attempts > 0 && abort_.load()) {
            break;
        }
    }
    if (attempts == 0) {
        return LinkStatus::Failed;
    }
    // Cancelled: a reply left by a failed attempt (a bad check word, half a frame) must never
    // pass for an answer, so nothing of it is kept.
    reply = Packet{};
    return LinkStatus::Aborted;
}

}  // namespace qelto::protocol
