// The connection to one unit for one operation: the link opened (a serial port, the unit's USB
// interface, either through an RF dongle on one channel, or the link a scan found the unit on),
// the unit identified and unlocked with its PIN, and locked again when the operation is done,
// whatever happened in between. Its errors are sentences for the engineer, naming the device.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "comms/device_scan.h"
#include "comms/device_table.h"
#include "comms/operator_prompts.h"
#include "platform/byte_link.h"
#include "platform/hid_device.h"
#include "platform/serial_port.h"
#include "protocol/comms_data.h"
#include "protocol/packet_link.h"
#include "protocol/packet_tap.h"
#include "protocol/unit_channel.h"

namespace qelto::comms {

inline constexpr unsigned kUnitBaud = 57600;

struct LinkRequest {
    std::string port;  // the serial device; ignored with usb
    bool usb = false;
    std::optional<std::uint8_t> rfChannel;
    std::chrono::milliseconds replyTimeout{3000};
    int throttleSteps = 0;  // the "USBSpeedThrottle" setting
};

// Once the engineer has cancelled, only the lock request still reaches the unit: the driver runs
// its remaining steps to their end, and each must fail at once rather than keep talking to a
// unit the engineer wanted left alone.
class CancellablePath final : public protocol::PacketPath {
  public:
    CancellablePath(protocol::PacketPath& path, const std::atomic<bool>& abort)
        : path_(path), abort_(abort) {}
    bool isUSB() const override { return path_.isUSB(); }
    protocol::LinkStatus writePacket(const protocol::Packet& packet) override;
    protocol::LinkStatus readPacket(protocol::Packet& packet) override;

  private:
    protocol::PacketPath& path_;
    const std::atomic<bool>& abort_;
};

enum class UnlockOutcome { Unlocked, NoUnit, PinRefused, Silent, Cancelled };

class UnitConnection {
  public:
    // Builds the packet link over links already open (the one the request names: serial or HID)
    // and sets a radio dongle's channel; nullptr, with error saying which device failed and why,
    // when the dongle does not take the channel. selectedSerial re-aligns rotated serial replies
    // on the unit a scan found (0: not known yet). abort is the session's cancel flag.
    static std::unique_ptr<UnitConnection> connect(ScanLinks links, const LinkRequest& request,
                                                   std::uint32_t selectedSerial,
                                                   protocol::PacketTap* tap,
                                                   const std::atomic<bool>& abort,
                                                   std::string* error);
    // Locks the unit when it was unlocked and finish() has not run (an exception on the way).
    ~UnitConnection();
    UnitConnection(const UnitConnection&) = delete;
    UnitConnection& operator=(const UnitConnection&) = delete;

    // Polls the unit (its serial number re-aligns rotated serial replies from then on), then
    // unlocks it with the PIN the prompts give. error says what went wrong for the engineer.
    UnlockOutcome unlock(protocol::CommsData& data, OperatorPrompts& prompts, std::string* error);

    // Sends the lock once more when the operation's own lock went unanswered; false when the
    // unit stayed unlocked as far as we know.
    bool finish(bool unitLocked);

    protocol::PacketLink& link() { return *link_; }
    // The serial port, so a Ctrl-C can wake a wait on it; null on USB.
    platform::ByteLink* serialPort() { return serial_.get(); }
    // "/dev/ttyUSB0", "USB", "/dev/ttyUSB0, RF channel 9": for messages.
    const std::string& where() const { return where_; }
    // Who answered the poll before the unlock.
    const protocol::UnitIdentity& identity() const { return identity_; }
    // What the unit was asked when it stopped answering ("reading the program names"); empty
    // while it answers.
    std::string unansweredStep() const;

  private:
    explicit UnitConnection(const std::atomic<bool>& abort) : abort_(abort) {}
    bool selectRfChannel(std::uint8_t channel, std::string* error);
    std::string noUnitMessage() const;

    std::unique_ptr<platform::ByteLink> serial_;
    std::string serialPath_;
    std::unique_ptr<platform::HidDevice> hid_;
    protocol::LinkState state_;
    const std::atomic<bool>& abort_;
    std::unique_ptr<protocol::PacketPath> path_;
    std::unique_ptr<CancellablePath> guarded_;
    std::unique_ptr<protocol::PacketLink> link_;
    std::string where_;
    std::optional<std::uint8_t> rfChannel_;
    protocol::UnitIdentity identity_;
    bool unlocked_ = false;
};

}  // namespace qelto::comms
