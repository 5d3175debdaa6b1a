#include "comms/batch_log.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <utility>

#include "platform/atomic_file.h"

namespace qelto::comms {
namespace {

bool startsLikeFormula(std::string_view text) {
    return !text.empty() &&
           std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

bool writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool makeYearFolder(const std::string& path, std::string* error) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty() || ::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST) {
        return true;
    }
    if (error != nullptr) {
        *error = fmt::format("cannot create the batch log folder {}: {}", folder,
                             platform::describeErrno(errno));
    }
    return false;
}

int lockedForAppend(const std::string& path, std::string* error) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (error != nullptr) {
            *error = fmt::format("cannot open the batch log {}: {}", path,
                                 platform::describeErrno(errno));
        }
        return -1;
    }
    int locked = -1;
    do {
        locked = ::flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        if (error != nullptr) {
            *error = fmt::format("cannot lock the batch log {}: {}", path,
                                 platform::describeErrno(errno));
        }
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::string csvField(std::string_view text) {
    const bool formula = startsLikeFormula(text);
    const bool blankEdge = !text.empty() && (text.front() == ' ' || text.back() == ' ');
    if (!formula && !blankEdge && text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = formula ? "\"'" : "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    quoted += '"';
    return quoted;
}

std::string batchLogLine(const BatchUnitLine& line) {
    const std::tm& t = line.when;
    return fmt::format("{:04}-{:02}-{:02},{:02}:{:02}:{:02},{:09},{},{},{},{},{}\r\n",
                       t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
                       line.serial, csvField(line.model), csvField(line.software),
                       csvField(line.result), csvField(line.user), csvField(line.host));
}

std::string localHostName() {
    std::array<char, 256> name{};
    if (::gethostname(name.data(), name.size() - 1) != 0) {
        return {};
    }
    return name.data();
}

std::unique_ptr<JobFile> JobFile::open(const std::string& path, std::string* error) {
    if (!makeYearFolder(path, error)) {
        return nullptr;
    }
    const int fd = lockedForAppend(path, error);
    if (fd < 0) {
        return nullptr;
    }
    std::unique_ptr<JobFile> file(new JobFile(fd, path));
    // Under the lock, so two first units of a job cannot both write the heading.
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        if (error != nullptr) {
            *error = fmt::format("cannot read the batch log {}: {}", path,
                                 platform::describeErrno(errno));
        }
        return nullptr;
    }
    if (info.st_size == 0 && !file->append(kBatchLogHeading, error)) {
        return nullptr;
    }
    return file;
}

JobFile::~JobFile() {
    ::close(fd_);
}

bool JobFile::append(std::string_view text, std::string* error) {
    if (writeAll(fd_, text) && ::fdatasync(fd_) == 0) {
        return true;
    }
    if (error != nullptr) {
        *error = fmt::format("cannot add to the batch log {}: {}", path_,
                             platform::describeErrno(errno));
    }
    return false;
}

}  // namespace qelto::comms
