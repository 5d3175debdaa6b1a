// A byte stream to a unit or a dongle: a serial port, a pseudo-terminal, or a test's fake.
// Time-outs are results, not errors: a unit that does not answer is an everyday event.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qelto::platform {

enum class IoStatus {
    Ok,
    TimedOut,   // the wait ran out before every byte moved
    Cancelled,  // cancel() was called while waiting
    Failed,     // the device reported an error (unplugged adapter, closed pty...)
};

class ByteLink {
  public:
    virtual ~ByteLink() = default;

    // Sends every byte; each byte must leave within perByte. Stops at the first byte that does
    // not, so the rest of the bytes are not sent.
    virtual IoStatus write(std::span<const std::uint8_t> bytes,
                           std::chrono::milliseconds perByte) = 0;

    // Waits at most timeout, in all, for exactly out.size() bytes. The bytes that did arrive
    // are in out and their count in *received (when given), whatever the status.
    virtual IoStatus read(std::span<std::uint8_t> out, std::chrono::milliseconds timeout,
                          std::size_t* received = nullptr) = 0;

    // Discards whatever is queued in either direction.
    virtual void purge() = 0;

    // Wakes a read or write blocked in another thread; it returns Cancelled. Safe from any thread.
    virtual void cancel() = 0;
};

}  // namespace qelto::platform
