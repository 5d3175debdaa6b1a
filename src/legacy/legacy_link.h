// The serial link to older units: one byte at a time, each within a time limit, with a five-byte
// command frame, a one-byte acknowledge, an optional password and unframed data packets.
//
// The same open port also carries the packet protocol's serial link, so the port belongs to this
// object and others borrow it through port().
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "legacy/device_info.h"
#include "legacy/legacy_result.h"
#include "platform/byte_link.h"

namespace qelto::legacy {

// Opens a port by name at a baud rate; nullptr and a readable reason in *error when it cannot.
// The program passes platform::SerialPort::open, tests a scripted fake.
using PortOpener = std::function<std::unique_ptr<platform::ByteLink>(
    const std::string& name, unsigned baud, std::string* error)>;

using Sleeper = std::function<void(std::chrono::milliseconds)>;

inline constexpr unsigned kLegacyBaud = 9600;
inline constexpr std::chrono::milliseconds kByteWait{3000};

// A data packet as it travels: type, 16-bit address (high byte first), count, data.
struct LegacyPacket {
    std::uint8_t type = 0;
    std::uint16_t address = 0;
    std::vector<std::uint8_t> data;  // at most 255 bytes: the count is one byte
};

class LegacyLink {
  public:
    // byteWait bounds every single byte; sleep carries the pauses the units need between bytes
    // (empty: real pauses that a cancel cuts short).
    explicit LegacyLink(PortOpener opener, std::chrono::milliseconds byteWait = kByteWait,
                        Sleeper sleep = {});

    // Once *abort is set, no byte goes out or comes in and no pause waits: the operation runs
    // out at once. The flag must outlive the link.
    void setAbortFlag(const std::atomic<bool>* abort) { abort_ = abort; }
    bool cancelled() const { return abort_ != nullptr && abort_->load(); }

    // The port named in the settings ("SerPort"); sign-on and commands open this one.
    void setPortName(std::string name) { portName_ = std::move(name); }
    const std::string& portName() const { return portName_; }

    // Opens a port, or purges the one already open (whatever its name and rate) and keeps it.
    // False when the opener refused; openError() then says why.
    bool OpenPort(const std::string& name, unsigned baud);
    void closePort();
    bool isOpen() const { return port_ != nullptr; }
    platform::ByteLink* port() { return port_.get(); }
    const std::string& openPortName() const { return openPortName_; }
    const std::string& openError() const { return openError_; }

    // One byte each way within the byte wait; false on time-out or a port error.
    bool SCI_Rx(std::uint8_t& byte);
    bool SCI_Tx(std::uint8_t byte);

    LegacyResult SignOn();
    LegacyResult SendCmd(std::uint8_t code);
    LegacyResult SendCommand(std::uint8_t code, std::int16_t password);

    // False as soon as one byte does not go out, or when data has more than 255 bytes.
    bool SendPacket(std::uint8_t type, std::uint16_t address, std::span<const std::uint8_t> data);
    // False on the first byte that does not arrive; packet.data then holds the bytes that did.
    bool GetPacket(LegacyPacket& packet);

    const DeviceInfo& deviceInfo() const { return deviceInfo_; }

    // The pauses the operations above the link leave between their steps go through the same
    // sleeper as the link's own, so tests run them without waiting.
    void pause(std::chrono::milliseconds duration);

    // The unit type (current numbering) reported by the last sign-on, for the communications
    // copy; empty when that sign-on got no type byte.
    std::optional<std::uint8_t> reportedUnitType() const { return reportedUnitType_; }

  private:
    platform::IoStatus receive(std::uint8_t& byte);
    bool sendFrame(std::uint8_t code, std::uint8_t data);
    LegacyResult readAcknowledge(std::uint8_t code);
    LegacyResult readUnitInformation();

    PortOpener opener_;
    std::chrono::milliseconds byteWait_;
    Sleeper sleep_;
    const std::atomic<bool>* abort_ = nullptr;
    std::unique_ptr<platform::ByteLink> port_;
    std::string portName_;
    std::string openPortName_;
    std::string openError_;
    DeviceInfo deviceInfo_{};
    std::optional<std::uint8_t> reportedUnitType_;
};

}  // namespace qelto::legacy
