#include "platform/locked_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/atomic_file.h"

namespace qelto::platform {
namespace {

bool fail(std::string* reason) {
    if (reason != nullptr) {
        *reason = describeErrno(errno);
    }
    return false;
}

}  // namespace

struct LockedAppendFile::Handle {
    int fd = -1;
};

LockedAppendFile::LockedAppendFile(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}

LockedAppendFile::~LockedAppendFile() {
    ::close(handle_->fd);
}

std::unique_ptr<LockedAppendFile> LockedAppendFile::open(const std::filesystem::path& path,
                                                         std::string* reason) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        fail(reason);
        return nullptr;
    }
    auto handle = std::make_unique<Handle>();
    handle->fd = fd;
    std::unique_ptr<LockedAppendFile> file(new LockedAppendFile(std::move(handle)));
    int locked = -1;
    do {
        locked = ::flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        fail(reason);
        return nullptr;
    }
    return file;
}

bool LockedAppendFile::append(std::string_view text, std::string* reason) {
    while (!text.empty()) {
        const ssize_t n = ::write(handle_->fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return fail(reason);
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return ::fdatasync(handle_->fd) == 0 || fail(reason);
}

bool LockedAppendFile::readAll(std::string& text, std::string* reason) const {
    text.clear();
    std::array<char, 4096> buffer{};
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(handle_->fd, buffer.data(), buffer.size(), offset);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return fail(reason);
        }
        if (n == 0) {
            return true;
        }
        text.append(buffer.data(), static_cast<std::size_t>(n));
        offset += n;
    }
}

bool LockedAppendFile::size(std::uint64_t& bytes, std::string* reason) const {
    struct stat info {};
    if (::fstat(handle_->fd, &info) != 0) {
        return fail(reason);
    }
    bytes = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool makeFolder(const std::filesystem::path& folder, std::string* reason) {
    return ::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST || fail(reason);
}

}  // namespace qelto::platform
