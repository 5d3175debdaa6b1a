// Request and reply over one link: the packet framing of a serial line or of USB HID reports,
// and the exchange with its retries that every unit operation goes through.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/byte_link.h"
#include "platform/hid_device.h"
#include "protocol/packet.h"
#include "protocol/packet_tap.h"

namespace qelto::protocol {

enum class LinkStatus {
    Ok,
    Failed,   // every attempt failed
    Aborted,  // the operator cancelled; the reply record is cleared
};

using SleepFunction = std::function<void(std::chrono::milliseconds)>;

// Told before each attempt after the first (attempt counts from 2).
using RetryNotice = std::function<void(int attempt, int attempts)>;

// The sleep of the real program; tests pass one that records the pauses instead.
void realSleep(std::chrono::milliseconds duration);

// State the connection shares with the link while a unit is selected.
struct LinkState {
    // Serial number of the chosen unit (0 when none): re-aligns rotated serial replies.
    std::atomic<std::uint32_t> selectedSerial{0};
    // Set while RF channels are scanned: a serial reply is then awaited 250 ms, not 3 s.
    std::atomic<bool> fastScan{false};
};

// How packets travel on one kind of link.
class PacketPath {
  public:
    virtual ~PacketPath() = default;
    virtual bool isUSB() const = 0;
    virtual LinkStatus writePacket(const Packet& packet) = 0;
    // Fills packet bytes 1..32 (byte 0 stays 0); a failed read may leave bytes behind.
    virtual LinkStatus readPacket(Packet& packet) = 0;
};

struct SerialTimings {
    std::chrono::milliseconds byteWrite{3000};
    std::chrono::milliseconds reply{3000};
    std::chrono::milliseconds fastScanReply{250};
    // "USBSpeedThrottle": a pause of this many 10 ms steps before every packet sent, for
    // dongles and radios that lose bytes when packets follow each other too closely.
    int throttleSteps = 0;
};

// The 35-byte frame on a serial line (a wired unit, an RF or Bluetooth dongle), with the
// re-alignment of rotated replies and the check-word test.
class SerialPacketPath final : public PacketPath {
  public:
    SerialPacketPath(platform::ByteLink& port, const LinkState& state, SerialTimings timings = {},
                     SleepFunction sleep = realSleep);
    bool isUSB() const override { return false; }
    LinkStatus writePacket(const Packet& packet) override;
    LinkStatus readPacket(Packet& packet) override;

  private:
    platform::ByteLink& port_;
    const LinkState& state_;
    SerialTimings timings_;
    SleepFunction sleep_;
};

// The 36-byte HID reports of a USB unit or RF dongle. The unit's USB stack already guards the
// bytes, so there is no check-word test here.
class HidPacketPath final : public PacketPath {
  public:
    explicit HidPacketPath(platform::HidDevice& device, std::chrono::milliseconds replyTimeout =
                                                            std::chrono::milliseconds(3000));
    bool isUSB() const override { return true; }
    LinkStatus writePacket(const Packet& packet) override;
    LinkStatus readPacket(Packet& packet) override;

  private:
    platform::HidDevice& device_;
    std::chrono::milliseconds replyTimeout_;
};

// The exchange every unit operation uses: one request, one reply, retried.
class PacketLink {
  public:
    // tap may be null (nobody logs the packets); abort is the operator's cancel flag.
    PacketLink(PacketPath& path, PacketTap* tap, const std::atomic<bool>& abort,
               SleepFunction sleep = realSleep);

    bool isUSB() const { return path_.isUSB(); }
    // Whether the operator has cancelled.
    bool aborted() const { return abort_; }

    // Logs a request an operation has just built (direction "*NEW*").
    void logNew(const Packet& request);

    // Sends request and reads reply, up to attempts times. A failed write drains the link
    // (two reads 100 ms apart) before the next attempt. The operator's cancel stops the
    // retries after a failed attempt. The caller still checks the reply's identifier.
    LinkStatus WriteReadPacket(const Packet& request, Packet& reply, int attempts,
                               const RetryNotice& onRetry = {});

    // On the link of an operation on one chosen unit, a request that goes unanswered through all
    // its attempts means the unit stopped answering: every later request fails at once, but for
    // one short try of the lock. Off for a scan, whose probes go unanswered by design.
    void setSilenceEndsOperation(bool on) { silenceEndsOperation_ = on; }
    // The first request the unit left unanswered (with the above on), for the message that says
    // where the operation stopped.
    const std::optional<Packet>& unanswered() const { return unanswered_; }
    void noteUnanswered(const Packet& request);
    // Once the unit stopped answering, the lock still gets one short try; true for that one.
    bool takeLastLockTry();

  private:
    PacketPath& path_;
    PacketTap* tap_;
    const std::atomic<bool>& abort_;
    SleepFunction sleep_;
    bool silenceEndsOperation_ = false;
    std::optional<Packet> unanswered_;
    bool lastLockTried_ = false;
};

}  // namespace qelto::protocol
