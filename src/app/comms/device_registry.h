// The units found so far, for the whole program: the list survives between dialogs, and so do
// the links the last scan left open, for the operation on a unit found through them. Only one
// dialog works on it at a time, and its worker only while the dialog waits for it.
#pragma once

#include <memory>

#include "comms/device_scan.h"
#include "comms/device_table.h"
#include "platform/byte_link.h"

namespace qelto::app {

class DeviceRegistry {
  public:
    comms::DeviceTable& table() { return table_; }

    // The links of the last scan; empty once an operation took them or the port setting changed.
    std::shared_ptr<comms::ScanLinks> takeLinks() { return std::move(links_); }
    void keepLinks(comms::ScanLinks links) {
        links_ = std::make_shared<comms::ScanLinks>(std::move(links));
    }
    // The serial port the Bluetooth dongle was found on, kept open for the pairing.
    std::unique_ptr<platform::ByteLink>& bluetoothPort() { return bluetooth_; }

    // Closes every link kept open (a new port setting, or a scan about to open them anew).
    void closeLinks() {
        links_.reset();
        bluetooth_.reset();
    }

  private:
    comms::DeviceTable table_;
    std::shared_ptr<comms::ScanLinks> links_;
    std::unique_ptr<platform::ByteLink> bluetooth_;
};

}  // namespace qelto::app
