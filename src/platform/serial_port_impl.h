// The inside of SerialPort, shared by its source files and by the tests that drive it through a
// fake set of system calls.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/posix_calls.h"
#include "platform/serial_port.h"

namespace qelto::platform {

struct SerialPort::Impl {
    // SerialPort::open with the system calls given; the tests' way in.
    static std::unique_ptr<SerialPort> open(const std::string& path, unsigned baud,
                                            const PosixCalls& sys, std::string* error);

    Impl(const PosixCalls& calls, int portFd, int cancelFd, std::string portPath,
         unsigned portBaud);
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    IoStatus write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds perByte);
    IoStatus read(std::span<std::uint8_t> out, std::chrono::milliseconds timeout,
                  std::size_t* received);
    void purge();
    void cancel();

    // Waits until the port is ready for events (POLLIN or POLLOUT) or the deadline passes.
    // Ok means ready; a pending cancel is taken and reported.
    IoStatus waitFor(short events, std::chrono::steady_clock::time_point deadline);

    PosixCalls sys;
    int fd;
    int wakeFd;  // an eventfd: cancel() makes it readable, which ends any poll on the port
    std::string path;
    unsigned baud;
};

}  // namespace qelto::platform
