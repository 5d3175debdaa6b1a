#include "platform/atomic_file.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace qelto::platform {
namespace {

void setError(std::string* error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// 0666 less the process umask. The umask is read from /proc, because umask() can only be read by
// changing it, which would race with files created on other threads.
mode_t newFileMode() {
    static const mode_t mode = [] {
        std::FILE* status = std::fopen("/proc/self/status", "re");
        mode_t mask = 022;
        if (status != nullptr) {
            char line[256];
            while (std::fgets(line, sizeof line, status) != nullptr) {
                unsigned value = 0;
                if (std::sscanf(line, "Umask: %o", &value) == 1) {
                    mask = static_cast<mode_t>(value);
                    break;
                }
            }
            std::fclose(status);
        }
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

}  // namespace

std::string describeErrno(int err) {
    switch (err) {
        case ENOENT:
            return "no such file or folder";
        case EACCES:
        case EPERM:
            return "permission denied";
        case ENOSPC:
            return "the disk is full";
        case EROFS:
            return "the file system is read-only";
        case EISDIR:
            return "it is a folder";
        case EDQUOT:
            return "the disk quota is exhausted";
        default:
            return std::strerror(err);
    }
}

bool writeFileAtomically(const std::filesystem::path& requested, std::string_view bytes,
                         std::string* error) {
    // Writing through a symbolic link replaces the file it points to and keeps the link.
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::is_symlink(requested, ec)
                                           ? std::filesystem::weakly_canonical(requested, ec)
                                           : requested;
    const std::filesystem::path folder =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::string tmpName = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmpName.data());
    if (fd < 0) {
        setError(error,
                 fmt::format("cannot write {}: {}", requested.string(), describeErrno(errno)));
        return false;
    }
    // mkstemp creates the file 0600: a replaced file keeps its own permissions, a new one gets
    // those of any newly created file.
    struct stat old {};
    ::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : newFileMode());

    const bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeErr = errno;
    if (::close(fd) != 0 || !ok) {
        const int err = ok ? errno : writeErr;
        ::unlink(tmpName.c_str());
        setError(error, fmt::format("cannot write {}: {}", requested.string(), describeErrno(err)));
        return false;
    }
    if (::rename(tmpName.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmpName.c_str());
        setError(error, fmt::format("cannot write {}: {}", requested.string(), describeErrno(err)));
        return false;
    }
    // Make the rename itself durable.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool readWholeFile(const std::filesystem::path& path, std::string& bytes, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        setError(error, fmt::format("cannot open {}: {}", path.string(), describeErrno(errno)));
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        setError(error, fmt::format("cannot open {}: {}", path.string(), describeErrno(EISDIR)));
        return false;
    }
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int err = errno;
            ::close(fd);
            setError(error, fmt::format("cannot read {}: {}", path.string(), describeErrno(err)));
            return false;
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

}  // namespace qelto::platform
