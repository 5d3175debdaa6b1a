#include "platform/atomic_file.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "platform/file_links.h"

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

// Why a file of this type is not a document, a page or a settings file.
std::string notAFile(mode_t mode) {
    if (S_ISDIR(mode)) {
        return describeErrno(EISDIR);
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "it is a device, not a file";
    }
    if (S_ISFIFO(mode)) {
        return "it is a named pipe, not a file";
    }
    if (S_ISSOCK(mode)) {
        return "it is a socket, not a file";
    }
    return "it is not a regular file";
}

bool mayWrite(const std::filesystem::path& path, int what) {
    return ::faccessat(AT_FDCWD, path.c_str(), what, AT_EACCESS) == 0;
}

}  // namespace

char forbiddenFileNameChar(std::string_view name) {
    return name.find('/') != std::string_view::npos ? '/' : '\0';
}

bool canReplaceFile(const std::filesystem::path& requested, std::string* error) {
    const auto refuse = [&](const std::string& reason) {
        setError(error, fmt::format("cannot write {}: {}", requested.string(), reason));
        return false;
    };
    const std::filesystem::path path = throughLinks(requested);
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            return refuse(notAFile(st.st_mode));
        }
        if (!mayWrite(path, W_OK)) {
            return refuse(errno == EACCES ? "the file is read-only" : describeErrno(errno));
        }
    } else if (errno != ENOENT) {
        return refuse(describeErrno(errno));
    }
    const std::filesystem::path folder = folderOf(path);
    if (::stat(folder.c_str(), &st) != 0) {
        return refuse(errno == ENOENT ? fmt::format("the folder {} does not exist", folder.string())
                                      : describeErrno(errno));
    }
    if (!S_ISDIR(st.st_mode)) {
        return refuse(fmt::format("{} is not a folder", folder.string()));
    }
    if (!mayWrite(folder, W_OK | X_OK)) {
        return refuse(describeErrno(errno));
    }
    return true;
}

bool writeFileAtomically(const std::filesystem::path& requested, std::string_view bytes,
                         std::string* error) {
    if (!canReplaceFile(requested, error)) {
        return false;
    }
    const std::filesystem::path path = throughLinks(requested);
    const std::filesystem::path folder = folderOf(path);
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
    const auto refuse = [&](const std::string& reason) {
        setError(error, fmt::format("cannot open {}: {}", path.string(), reason));
        return false;
    };
    // A named pipe would wait for a writer and a device may never end, so neither is opened as
    // a file; the open does not wait either, in case the name changed in between.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return refuse(describeErrno(errno));
    }
    if (!S_ISREG(st.st_mode)) {
        return refuse(notAFile(st.st_mode));
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return refuse(describeErrno(errno));
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return refuse(notAFile(st.st_mode));
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
