#include "platform/serial_port.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <utility>

#include "platform/serial_errors.h"
#include "platform/serial_port_impl.h"
#include "platform/serial_settings.h"

namespace qelto::platform {
namespace {

void setError(std::string* error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
}

// A pseudo-terminal has no modem lines and answers ENOTTY (or EINVAL, depending on the kernel)
// to the modem-line requests; that is a port without the feature, not a broken port.
bool unsupportedOnThisPort(int err) {
    return err == ENOTTY || err == EINVAL;
}

// Closes fd on every early return of open().
class FdGuard {
  public:
    FdGuard(const PosixCalls& sys, int fd) : sys_(sys), fd_(fd) {}
    ~FdGuard() {
        if (fd_ >= 0) {
            sys_.close(fd_);
        }
    }
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    int release() { return std::exchange(fd_, -1); }

  private:
    const PosixCalls& sys_;
    int fd_;
};

int openRetrying(const PosixCalls& sys, const std::string& path) {
    for (;;) {
        const int fd = sys.open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0 || errno != EINTR) {
            return fd;
        }
    }
}

// Line settings, then the modem lines. Returns an error text, empty on success.
std::string setUpLine(const PosixCalls& sys, int fd, const std::string& path, speed_t speed,
                      bool cts) {
    termios current{};
    if (sys.tcgetattr(fd, &current) != 0) {
        return errno == ENOTTY ? serialOpenError(path, ENOTTY)
                               : serialSetupError(path, "read the line settings", errno);
    }
    const termios wanted = unitLineSettings(current, speed, cts);
    if (sys.tcsetattr(fd, TCSANOW, &wanted) != 0) {
        return serialSetupError(path, "set the line settings", errno);
    }
    termios actual{};
    if (sys.tcgetattr(fd, &actual) != 0 || !lineSettingsHeld(wanted, actual)) {
        return "cannot set the line settings of " + path +
               ": the port does not take 8 data bits, no parity, one stop bit" +
               (cts ? " with CTS flow control" : "") + "; it may not be a serial port for units";
    }
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (sys.ioctlInt(fd, TIOCMBIC, &lines) != 0 && !unsupportedOnThisPort(errno)) {
        return serialSetupError(path, "switch off DTR and RTS", errno);
    }
    return {};
}

}  // namespace

std::unique_ptr<SerialPort> SerialPort::Impl::open(const std::string& path, unsigned baud,
                                                   const PosixCalls& sys, std::string* error) {
    const auto speed = baudSpeed(baud);
    if (!speed) {
        setError(error, "cannot open " + path + ": " + std::to_string(baud) +
                            " baud is not a supported rate; use one of " + supportedBaudRates());
        return nullptr;
    }
    const int fd = openRetrying(sys, path);
    if (fd < 0) {
        setError(error, serialOpenError(path, errno));
        return nullptr;
    }
    FdGuard portGuard(sys, fd);
    // TIOCEXCL keeps other programs out, but root passes it; the lock also keeps out a second
    // Qelto run as root.
    if (sys.flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        setError(error, err == EWOULDBLOCK ? serialBusyError(path) : serialOpenError(path, err));
        return nullptr;
    }
    if (std::string why = setUpLine(sys, fd, path, *speed, baud == 9600); !why.empty()) {
        setError(error, std::move(why));
        return nullptr;
    }
    if (sys.ioctl(fd, TIOCEXCL) != 0 && !unsupportedOnThisPort(errno)) {
        setError(error, serialSetupError(path, "take exclusive use", errno));
        return nullptr;
    }
    const int wake = sys.eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        setError(error, serialSetupError(path, "create the cancel event", errno));
        sys.ioctl(fd, TIOCNXCL);
        return nullptr;
    }
    auto impl = std::make_unique<Impl>(sys, portGuard.release(), wake, path, baud);
    impl->purge();
    return std::unique_ptr<SerialPort>(new SerialPort(std::move(impl)));
}

SerialPort::Impl::Impl(const PosixCalls& calls, int portFd, int cancelFd, std::string portPath,
                       unsigned portBaud)
    : sys(calls), fd(portFd), wakeFd(cancelFd), path(std::move(portPath)), baud(portBaud) {}

SerialPort::Impl::~Impl() {
    // Exclusive use belongs to the tty, not to our descriptor: a pty slave whose master stays
    // open would otherwise refuse every later open by an ordinary user.
    sys.ioctl(fd, TIOCNXCL);
    sys.close(fd);
    sys.close(wakeFd);
}

std::unique_ptr<SerialPort> SerialPort::open(const std::string& path, unsigned baud,
                                             std::string* error) {
    return Impl::open(path, baud, realPosixCalls(), error);
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
