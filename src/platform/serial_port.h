// Serial ports on POSIX (termios): USB-serial adapters, on-board ports and pseudo-terminals.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/byte_link.h"

namespace qelto::platform {

class SerialPort final : public ByteLink {
  public:
    // Opens a device at a baud rate with the line settings units need: 8 data bits, no parity,
    // one stop bit, CTS output flow control exactly at 9600 baud, DTR and RTS held off, no
    // XON/XOFF. A pseudo-terminal refuses the modem-line requests; that is not an error.
    // Returns nullptr and fills error with a sentence naming the port, the reason and what to do
    // ("cannot open /dev/ttyUSB0: permission denied; add your user to the dialout group").
    static std::unique_ptr<SerialPort> open(const std::string& path, unsigned baud,
                                            std::string* error = nullptr);

    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    IoStatus write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds perByte) override;
    IoStatus read(std::span<std::uint8_t> out, std::chrono::milliseconds timeout,
                  std::size_t* received = nullptr) override;
    void purge() override;
    void cancel() override;

    const std::string& path() const;
    unsigned baud() const;

    struct Impl;

  private:
    explicit SerialPort(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// The serial ports present, for the settings dialog and `qeltoctl ports`: /dev/serial/by-id/*
// links first (stable names for USB adapters), then /dev/ttyUSB*, /dev/ttyACM* and the on-board
// /dev/ttyS* ports that have a UART behind them.
std::vector<std::string> listSerialPorts();

}  // namespace qelto::platform
