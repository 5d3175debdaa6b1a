// The units a scan found, in the order found: the list the engineer picks a unit from. One table
// lives for the whole program, so the list survives between operations; only a new serial/USB
// scan clears it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qelto::comms {

inline constexpr std::size_t kDeviceTableSize = 30;

// How the unit is reached. The numbers are the ones scripts see in `qeltoctl scan --json`.
enum class LinkType : std::uint32_t {
    Usb = 0,       // the unit's own USB interface
    Serial = 1,    // wired to the serial port, or through the Bluetooth dongle
    RfSerial = 2,  // through a radio dongle on the serial port
    RfUsb = 3,     // through a radio dongle on USB
};

// Packets to the unit travel as HID reports for USB and USB radio dongles.
constexpr bool isUsbLink(LinkType type) {
    return type == LinkType::Usb || type == LinkType::RfUsb;
}
constexpr bool isRadioLink(LinkType type) {
    return type == LinkType::RfSerial || type == LinkType::RfUsb;
}

// Which of the scan's open links the unit answered on.
enum class DeviceHandle { None, SerialPort, Hid };

// The strength a dongle reports when it did not answer.
inline constexpr std::uint8_t kNoSignal = 255;

struct DeviceEntry {
    std::uint8_t valid = 0;
    std::uint8_t reserved = 0;
    std::uint8_t signal = 0;
    std::uint32_t serialNo = 0;
    LinkType linkType = LinkType::Usb;
    std::uint8_t rfChannel = 0;
    std::string label;  // product name, " - ", nine-digit serial, then " - " description if any
    DeviceHandle handle = DeviceHandle::None;
};

// What follows the label in the list: the link, and for radio links the channel and signal.
std::string listSuffix(const DeviceEntry& entry);

class DeviceTable {
  public:
    void clear() { entries_ = {}; }
    // Entries are filled from 0 without gaps; the count is that of the valid ones.
    std::size_t count() const;
    DeviceEntry& operator[](std::size_t index) { return entries_.at(index); }
    const DeviceEntry& operator[](std::size_t index) const { return entries_.at(index); }
    // The list lines, each the entry's label and its suffix; line i is entry i.
    std::vector<std::string> listLines() const;

  private:
    std::array<DeviceEntry, kDeviceTableSize> entries_{};
};

}  // namespace qelto::comms
