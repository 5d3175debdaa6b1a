// Serial ports on Windows: COM ports opened for overlapped I/O, so that every wait is a wait on
// the I/O and on the cancel event together and another thread can end it at once.
#include <windows.h>

#include <algorithm>
#include <array>
#include <utility>

#include "platform/serial_port.h"
#include "platform/serial_rates.h"
#include "platform/win/handle_guard.h"
#include "platform/win/serial_errors_win.h"

namespace qelto::platform {
namespace {

using Clock = std::chrono::steady_clock;

void setError(std::string* error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
}

// "COM5" is only a DOS name; COM10 and above open only through the device namespace, so every
// port goes through it.
std::wstring devicePath(const std::string& path) {
    const std::string full = path.rfind("\\\\", 0) == 0 ? path : "\\\\.\\" + path;
    return utf8ToWide(full);
}

// Rounded up, so a wait never ends a fraction of a millisecond early and then spins on
// zero-length waits until the deadline. INFINITE is MAXDWORD, so stay below it.
DWORD millisecondsUntil(Clock::time_point deadline) {
    const auto now = Clock::now();
    if (now >= deadline) {
        return 0;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
    return static_cast<DWORD>(std::min<long long>(left, MAXDWORD - 1));
}

// Line settings, then the time-outs. Returns an error text, empty on success.
std::string setUpLine(HANDLE port, const std::string& path, unsigned baud) {
    const bool cts = baud == 9600;
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    if (!::GetCommState(port, &dcb)) {
        return serialSetupError(path, "read the line settings", ::GetLastError());
    }
    dcb.BaudRate = baud;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = cts ? TRUE : FALSE;
    dcb.fOutxDsrFlow = FALSE;
    // The unit reads a raised DTR or RTS as a request of its own, so both stay off.
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    // With abort-on-error every later read fails until ClearCommError; a framing error on a
    // noisy line is the protocol's business (the checksum catches it), not the port's.
    dcb.fAbortOnError = FALSE;
    if (!::SetCommState(port, &dcb)) {
        return serialSetupError(path, "set the line settings", ::GetLastError());
    }
    DCB actual{};
    actual.DCBlength = sizeof(actual);
    if (!::GetCommState(port, &actual) || actual.BaudRate != baud || actual.ByteSize != 8 ||
        actual.Parity != NOPARITY || actual.StopBits != ONESTOPBIT ||
        (actual.fOutxCtsFlow != 0) != cts || actual.fOutX != 0 || actual.fInX != 0) {
        return "cannot set the line settings of " + portDisplayName(path) +
               ": the port does not take 8 data bits, no parity, one stop bit" +
               (cts ? " with CTS flow control" : "") + "; it may not be a serial port for units";
    }
    // A read returns as soon as at least one byte is there, and otherwise waits for the first
    // byte without a limit of its own: our wait on the I/O and the cancel event sets the limit.
    // (MAXDWORD/0/0 would return at once with nothing and leave us nothing to wait on.)
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = MAXDWORD - 1;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 0;
    if (!::SetCommTimeouts(port, &timeouts)) {
        return serialSetupError(path, "set the time-outs", ::GetLastError());
    }
    return {};
}

}  // namespace

struct SerialPort::Impl {
    Impl(HANDLE portHandle, HANDLE readDone, HANDLE writeDone, HANDLE cancelEvent,
         std::string portPath, unsigned portBaud)
        : port(portHandle),
          readEvent(readDone),
          writeEvent(writeDone),
          wakeEvent(cancelEvent),
          path(std::move(portPath)),
          baud(portBaud) {}

    ~Impl() {
        ::CloseHandle(port);
        ::CloseHandle(readEvent);
        ::CloseHandle(writeEvent);
        ::CloseHandle(wakeEvent);
    }

    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    // Waits until the I/O behind ioEvent completes or the deadline passes. Ok means completed;
    // a pending cancel is taken and reported, and wins over a completion in the same instant.
    IoStatus waitFor(HANDLE ioEvent, Clock::time_point deadline) const {
        const std::array<HANDLE, 2> events{wakeEvent, ioEvent};
        switch (::WaitForMultipleObjects(2, events.data(), FALSE, millisecondsUntil(deadline))) {
            case WAIT_OBJECT_0:
                return IoStatus::Cancelled;
            case WAIT_OBJECT_0 + 1:
                return IoStatus::Ok;
            case WAIT_TIMEOUT:
                return IoStatus::TimedOut;
            default:
                return IoStatus::Failed;
        }
    }

    // Ends an I/O that is still pending and waits for the driver to let go of the buffer, which
    // belongs to the caller and goes out of scope when we return. Returns the bytes that did
    // move before the I/O ended.
    DWORD abandon(OVERLAPPED& ov) const {
        ::CancelIoEx(port, &ov);
        DWORD moved = 0;
        ::GetOverlappedResult(port, &ov, &moved, TRUE);
        return moved;
    }

    // The driver keeps an error state (framing, overrun, a vanished device) until asked.
    void clearErrors() const {
        DWORD errors = 0;
        ::ClearCommError(port, &errors, nullptr);
    }

    // The bytes the driver still has to send, or MAXDWORD when it cannot say (so that a later
    // answer counts as progress rather than a stall).
    DWORD outputQueued() const {
        DWORD errors = 0;
        COMSTAT status{};
        return ::ClearCommError(port, &errors, &status) ? status.cbOutQue : MAXDWORD;
    }

    IoStatus write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds perByte) {
        if (bytes.empty()) {
            return IoStatus::Ok;
        }
        // A cancel that came first must keep the bytes off the line, as it does on Linux,
        // where the wait comes before the write.
        if (::WaitForSingleObject(wakeEvent, 0) == WAIT_OBJECT_0) {
            return IoStatus::Cancelled;
        }
        const auto size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), MAXDWORD));
        OVERLAPPED ov{};
        ov.hEvent = writeEvent;
        if (!::WriteFile(port, bytes.data(), size, nullptr, &ov) &&
            ::GetLastError() != ERROR_IO_PENDING) {
            clearErrors();
            return IoStatus::Failed;
        }
        // One write for the lot keeps the bytes back to back on the line; while it is pending,
        // the driver's output queue shrinking is the sign that bytes still leave in time.
        auto deadline = Clock::now() + perByte;
        DWORD queued = outputQueued();
        for (;;) {
            const IoStatus waited = waitFor(writeEvent, deadline);
            if (waited == IoStatus::Ok) {
                DWORD sent = 0;
                if (!::GetOverlappedResult(port, &ov, &sent, FALSE)) {
                    clearErrors();
                    return IoStatus::Failed;
                }
                return sent == size && size == bytes.size() ? IoStatus::Ok : IoStatus::TimedOut;
            }
            if (waited == IoStatus::TimedOut) {
                if (const DWORD now = outputQueued(); now < queued) {
                    queued = now;
                    deadline = Clock::now() + perByte;
                    continue;
                }
            }
            // The rest must not reach the unit later as the tail of a packet it has given up on.
            const DWORD sent = abandon(ov);
            if (waited == IoStatus::TimedOut && sent == size && size == bytes.size()) {
                return IoStatus::Ok;
            }
            ::PurgeComm(port, PURGE_TXABORT | PURGE_TXCLEAR);
            if (waited == IoStatus::Failed) {
                clearErrors();
            }
            return waited;
        }
    }

    IoStatus read(std::span<std::uint8_t> out, std::chrono::milliseconds timeout,
                  std::size_t* received) {
        std::size_t got = 0;
        IoStatus status = IoStatus::Ok;
        const auto deadline = Clock::now() + timeout;
        while (got < out.size()) {
            const auto want = static_cast<DWORD>(std::min<std::size_t>(out.size() - got, MAXDWORD));
            OVERLAPPED ov{};
            ov.hEvent = readEvent;
            if (!::ReadFile(port, out.data() + got, want, nullptr, &ov) &&
                ::GetLastError() != ERROR_IO_PENDING) {
                clearErrors();
                status = IoStatus::Failed;
                break;
            }
            status = waitFor(readEvent, deadline);
            if (status != IoStatus::Ok) {
                got += abandon(ov);
                // Bytes that completed in the instant before the cancel of a timed-out read
                // are a complete answer all the same.
                if (status == IoStatus::TimedOut && got == out.size()) {
                    status = IoStatus::Ok;
                }
                if (status == IoStatus::Failed) {
                    clearErrors();
                }
                break;
            }
            DWORD n = 0;
            if (!::GetOverlappedResult(port, &ov, &n, FALSE)) {
                clearErrors();
                status = IoStatus::Failed;
                break;
            }
            got += n;
            // A read that ends with nothing before the deadline came from the driver's own
            // time-out; the loop asks again until ours.
            if (n == 0 && Clock::now() >= deadline) {
                status = IoStatus::TimedOut;
                break;
            }
        }
        if (received != nullptr) {
            *received = got;
        }
        return status;
    }

    void purge() const { ::PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR); }

    // An auto-reset event: cancels before a wait collapse into one, taken by the next wait.
    void cancel() const { ::SetEvent(wakeEvent); }

    HANDLE port;
    HANDLE readEvent;   // manual-reset, as overlapped I/O wants; ReadFile resets it
    HANDLE writeEvent;  // its own, so a write and a read in two threads do not share one
    HANDLE wakeEvent;
    std::string path;
    unsigned baud;
};

std::unique_ptr<SerialPort> SerialPort::open(const std::string& path, unsigned baud,
                                             std::string* error) {
    if (!isSupportedBaudRate(baud)) {
        setError(error, "cannot open " + portDisplayName(path) + ": " + std::to_string(baud) +
                            " baud is not a supported rate; use one of " + supportedBaudRates());
        return nullptr;
    }
    // Share mode 0: a COM port has one owner, and a second open (ours or another program's)
    // fails instead of interleaving its bytes with ours.
    HandleGuard port(::CreateFileW(devicePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    if (port.get() == INVALID_HANDLE_VALUE) {
        setError(error, serialOpenError(path, ::GetLastError()));
        return nullptr;
    }
    if (const DWORD type = ::GetFileType(port.get()); type != FILE_TYPE_CHAR) {
        setError(error, serialOpenError(path, ERROR_NOT_SUPPORTED));
        return nullptr;
    }
    if (std::string why = setUpLine(port.get(), path, baud); !why.empty()) {
        setError(error, std::move(why));
        return nullptr;
    }
    HandleGuard readEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HandleGuard writeEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HandleGuard wakeEvent(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (readEvent.get() == nullptr || writeEvent.get() == nullptr || wakeEvent.get() == nullptr) {
        setError(error, serialSetupError(path, "create the I/O events", ::GetLastError()));
        return nullptr;
    }
    auto impl = std::make_unique<Impl>(port.release(), readEvent.release(), writeEvent.release(),
                                       wakeEvent.release(), path, baud);
    impl->purge();
    return std::unique_ptr<SerialPort>(new SerialPort(std::move(impl)));
}

SerialPort::SerialPort(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

SerialPort::~SerialPort() = default;

IoStatus SerialPort::write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds perByte) {
    return impl_->write(bytes, perByte);
}

IoStatus SerialPort::read(std::span<std::uint8_t> out, std::chrono::milliseconds timeout,
                          std::size_t* received) {
    return impl_->read(out, timeout, received);
}

void SerialPort::purge() {
    impl_->purge();
}

void SerialPort::cancel() {
    impl_->cancel();
}

const std::string& SerialPort::path() const {
    return impl_->path;
}

unsigned SerialPort::baud() const {
    return impl_->baud;
}

}  // namespace qelto::platform
