#include "platform/posix_calls.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace qelto::platform {

const PosixCalls& realPosixCalls() {
    static const PosixCalls calls{
        .open = [](const char* path, int flags) { return ::open(path, flags); },
        .close = [](int fd) { return ::close(fd); },
        .read = [](int fd, void* buf, std::size_t count) { return ::read(fd, buf, count); },
        .write = [](int fd, const void* buf, std::size_t count) { return ::write(fd, buf, count); },
        .poll = [](pollfd* fds, nfds_t count,
                   int timeoutMs) { return ::poll(fds, count, timeoutMs); },
        .tcgetattr = [](int fd, termios* settings) { return ::tcgetattr(fd, settings); },
        .tcsetattr = [](int fd, int when,
                        const termios* settings) { return ::tcsetattr(fd, when, settings); },
        .tcflush = [](int fd, int queue) { return ::tcflush(fd, queue); },
        .flock = [](int fd, int operation) { return ::flock(fd, operation); },
        .ioctl = [](int fd, unsigned long request) { return ::ioctl(fd, request); },
        .ioctlInt = [](int fd, unsigned long request,
                       int* arg) { return ::ioctl(fd, request, arg); },
        .eventfd = [](unsigned initial, int flags) { return ::eventfd(initial, flags); },
    };
    return calls;
}

}  // namespace qelto::platform
