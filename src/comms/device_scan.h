// Finding units: the serial port (a unit wired to it, or a radio dongle and the units it hears on
// each of its channels), then USB (a radio dongle). Every unit found is identified by a poll and
// entered into the device table with the label the engineer picks it by. What the engineer sees
// meanwhile goes through the prompts.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "comms/device_table.h"
#include "comms/operation_driver.h"
#include "comms/operator_prompts.h"
#include "platform/byte_link.h"
#include "platform/hid_device.h"
#include "protocol/packet_link.h"
#include "protocol/packet_tap.h"
#include "protocol/unit_channel.h"

namespace qelto::comms {

// Status lines and names of the scan, by string number.
inline constexpr int kStatusUnitsListed = 387;
inline constexpr int kStatusScanning = 437;
inline constexpr int kStatusNoUnitFound = 438;
inline constexpr int kProductName = 422;
inline constexpr const char* kUnrecognisedProduct = "Unrecognised product";

// The channels a radio dongle is asked for, in order: 3, 9, ... 75.
inline constexpr std::uint8_t kFirstRfChannel = 3;
inline constexpr std::uint8_t kRfChannelStep = 6;
inline constexpr std::uint8_t kRfChannelLimit = 76;
inline constexpr int kScanProgressSteps = 32;

// How the scan reaches the machine's ports; tests hand in pseudo-terminals and fake devices.
struct ScanSetup {
    // The configured serial port at 57600 baud; nullptr when it cannot be opened.
    std::function<std::unique_ptr<platform::ByteLink>()> openSerial;
    // The unit's HID interface; nullptr when none is present.
    std::function<std::unique_ptr<platform::HidDevice>()> openHid;
    protocol::SerialTimings timings;
    std::chrono::milliseconds hidReplyTimeout{3000};
    protocol::SleepFunction sleep = protocol::realSleep;
    protocol::PacketTap* tap = nullptr;  // the communications log, when it is on
};

// The links a scan opened. They stay open for the operation on a unit found through them.
struct ScanLinks {
    std::unique_ptr<platform::ByteLink> serial;
    std::unique_ptr<platform::HidDevice> hid;
};

class DeviceScanner {
  public:
    DeviceScanner(DeviceTable& table, ScanSetup setup, protocol::LinkState& linkState,
                  const std::atomic<bool>& abort, OperatorPrompts& prompts, TextLookup text);

    // The scan button: the whole scan with its status, progress and the list refilled. Returns
    // the list lines.
    std::vector<std::string> scanAllLinks();
    // The scan itself: clears the table and fills it from the serial port, then USB.
    void OnScanForUnit();

    // Polls the unit on channel and, when it is one of ours, enters it at index n.
    bool IdentifyUnit(std::size_t n, DeviceHandle handle, LinkType linkType,
                      protocol::UnitChannel& channel);
    // The signal the dongle last heard on its channel; kNoSignal when it does not answer.
    static std::uint8_t ReadSignalStrength(protocol::UnitChannel& channel);

    ScanLinks& links() { return links_; }

  private:
    // Asks a radio dongle for every channel in turn and enters the units that answer. False
    // when a channel could not be set: the scan of that dongle ends there.
    bool scanRadioChannels(protocol::UnitChannel& channel, DeviceHandle handle, LinkType type,
                           std::size_t& next);

    DeviceTable& table_;
    ScanSetup setup_;
    protocol::LinkState& linkState_;
    const std::atomic<bool>& abort_;
    OperatorPrompts& prompts_;
    TextLookup text_;
    ScanLinks links_;
};

}  // namespace qelto::comms
