#include "legacy/legacy_link.h"

#include <algorithm>
#include <thread>

#include "legacy/command_frame.h"
#include "model/unit_types.h"

namespace qelto::legacy {

using platform::IoStatus;

namespace {

// A unit that never sends its type byte is an early one; it needs this long before it takes the
// next command.
constexpr std::chrono::milliseconds kLegacyUnitPause{1000};

// A real pause looks at the cancel this often.
constexpr std::chrono::milliseconds kPauseSlice{10};

}  // namespace

LegacyLink::LegacyLink(PortOpener opener, std::chrono::milliseconds byteWait, Sleeper sleep)
    : opener_(std::move(opener)), byteWait_(byteWait), sleep_(std::move(sleep)) {}

void LegacyLink::pause(std::chrono::milliseconds duration) {
    if (cancelled()) {
        return;
    }
    if (sleep_) {
        sleep_(duration);
        return;
    }
    const auto end = std::chrono::steady_clock::now() + duration;
    for (auto now = std::chrono::steady_clock::now(); now < end && !cancelled();
         now = std::chrono::steady_clock::now()) {
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(kPauseSlice, end - now));
    }
}

bool LegacyLink::OpenPort(const std::string& name, unsigned baud) {
    if (port_) {
        port_->purge();
        return true;
    }
    openError_.clear();
    std::string error;
    if (opener_) {
        port_ = opener_(name, baud, &error);
    }
    if (!port_) {
        openError_ = error.empty() ? "cannot open serial port \"" + name + "\"" : error;
        return false;
    }
    openPortName_ = name;
    port_->purge();
    return true;
}

void LegacyLink::closePort() {
    port_.reset();
    openPortName_.clear();
}

IoStatus LegacyLink::receive(std::uint8_t& byte) {
    if (cancelled()) {
        return IoStatus::Cancelled;
    }
    if (!port_) {
        return IoStatus::Failed;
    }
    return port_->read(std::span<std::uint8_t>(&byte, 1), byteWait_);
}

bool LegacyLink::SCI_Rx(std::uint8_t& byte) {
    return receive(byte) == IoStatus::Ok;
}

bool LegacyLink::SCI_Tx(std::uint8_t byte) {
    if (!port_ || cancelled()) {
        return false;
    }
    return port_->write(std::span<const std::uint8_t>(&byte, 1), byteWait_) == IoStatus::Ok;
}

bool LegacyLink::sendFrame(std::uint8_t code, std::uint8_t data) {
    for (const std::uint8_t byte : commandFrame(code, data)) {
        if (!SCI_Tx(byte)) {
            return false;
        }
    }
    return true;
}

LegacyResult LegacyLink::readAcknowledge(std::uint8_t code) {
    std::uint8_t answer = 0;
    if (!SCI_Rx(answer) || answer != acknowledgeOf(code)) {
        return LegacyResult::Failed;
    }
    return LegacyResult::Ok;
}

LegacyResult LegacyLink::SignOn() {
    if (!OpenPort(portName_, kLegacyBaud)) {
        return LegacyResult::PortUnavailable;
    }
    deviceInfo_ = {};
    reportedUnitType_.reset();
    port_->purge();
    if (!sendFrame(kCmdSignOn, 1) || readAcknowledge(kCmdSignOn) != LegacyResult::Ok) {
        return LegacyResult::Failed;
    }
    // Units that know about themselves answer the repeated code with their type and version.
    if (!SCI_Tx(kCmdSignOn)) {
        return LegacyResult::Failed;
    }
    std::uint8_t oldType = 0;
    const IoStatus status = receive(oldType);
    if (status == IoStatus::TimedOut) {
        deviceInfo_[0] = kInfoLegacyWithoutInformation;
        deviceInfo_[1] = kUnknownUnitType;
        // A type byte that turns up late must not be taken for the next acknowledge.
        port_->purge();
        pause(kLegacyUnitPause);
        return LegacyResult::Ok;
    }
    if (status != IoStatus::Ok) {
        // A cancelled or broken port is not a silent unit.
        return LegacyResult::Failed;
    }
    deviceInfo_[1] = model::OldTypeToNewType(oldType);
    reportedUnitType_ = deviceInfo_[1];
    return readUnitInformation();
}

LegacyResult LegacyLink::readUnitInformation() {
    for (std::size_t i = 2; i < deviceInfo_.size(); ++i) {
        if (!SCI_Rx(deviceInfo_[i])) {
            return LegacyResult::Failed;
        }
    }
    deviceInfo_[0] = kInfoReceived;
    return LegacyResult::Ok;
}

LegacyResult LegacyLink::SendCmd(std::uint8_t code) {
    if (!OpenPort(portName_, kLegacyBaud)) {
        return LegacyResult::PortUnavailable;
    }
    // Every command follows a sign-on. Its result does not matter here: a unit that did not
    // sign on fails the acknowledge below.
    (void)SignOn();
    if (!sendFrame(code, 0) || readAcknowledge(code) != LegacyResult::Ok) {
        return LegacyResult::Failed;
    }
    return SCI_Tx(code) ? LegacyResult::Ok : LegacyResult::Failed;
}

LegacyResult LegacyLink::SendCommand(std::uint8_t code, std::int16_t password) {
    if (!OpenPort(portName_, kLegacyBaud)) {
        return LegacyResult::PortUnavailable;
    }
    const std::uint8_t passwordCode = passwordCommandCode(code);
    (void)SignOn();
    if (!sendFrame(passwordCode, 0) || readAcknowledge(passwordCode) != LegacyResult::Ok) {
        return LegacyResult::Failed;
    }
    const auto [high, low] = passwordBytes(password);
    if (!SCI_Tx(passwordCode) || !SCI_Tx(high) || !SCI_Tx(low)) {
        return LegacyResult::Failed;
    }
    std::uint8_t verdict = 0;
    if (!SCI_Rx(verdict)) {
        return LegacyResult::Failed;
    }
    return verdict == 0 ? LegacyResult::PasswordRefused : LegacyResult::Ok;
}

}  // namespace qelto::legacy
