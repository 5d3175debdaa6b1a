#include "comms/batch_log.h"

#include <fmt/format.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <set>
#include <utility>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/locked_file.h"
#include "platform/machine_identity.h"

namespace qelto::comms {
namespace {

bool startsLikeFormula(std::string_view text) {
    return !text.empty() &&
           std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

bool makeYearFolder(const std::string& path, std::string* error) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::string reason;
    if (folder.empty() || platform::makeFolder(folder, &reason)) {
        return true;
    }
    if (error != nullptr) {
        *error = fmt::format("cannot create the batch log folder {}: {}", folder.string(), reason);
    }
    return false;
}

// The fields of one CSV record from at, as RFC 4180 reads them; at moves past its line end.
std::vector<std::string> nextRecord(std::string_view text, std::size_t& at) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (quoted) {
            if (c != '"') {
                fields.back() += c;
            } else if (at + 1 < text.size() && text[at + 1] == '"') {
                fields.back() += '"';
                ++at;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\n') {
            ++at;
            break;
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

// A serial number as the file holds it; 0, like a unit without one, when it is not a number.
std::uint32_t serialOf(const std::string& field) {
    std::uint32_t serial = 0;
    const char* end = field.data() + field.size();
    const auto [stop, ec] = std::from_chars(field.data(), end, serial);
    return ec == std::errc() && stop == end ? serial : 0;
}

}  // namespace

bool batchCountedUnit(std::string_view text, std::uint32_t serial, std::uint32_t counted) {
    constexpr std::size_t kSerialColumn = 2;
    constexpr std::size_t kResultColumn = 5;
    std::vector<std::uint32_t> written;
    for (std::size_t at = 0; at < text.size();) {
        const std::vector<std::string> fields = nextRecord(text, at);
        if (fields.size() > kResultColumn && fields[kResultColumn] == kBatchResultOk) {
            written.push_back(serialOf(fields[kSerialColumn]));
        }
    }
    // The batch's units are the last lines written: back from the end, every serial number
    // once (a unit without one each time) until the batch's count is reached.
    std::set<std::uint32_t> seen;
    std::uint32_t units = 0;
    for (auto it = written.rbegin(); it != written.rend() && units < counted; ++it) {
        if (*it == serial) {
            return true;
        }
        if (*it == 0 || seen.insert(*it).second) {
            ++units;
        }
    }
    return false;
}

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
    return platform::hostName();
}

std::unique_ptr<JobFile> JobFile::open(const std::string& path, std::string* error) {
    if (!makeYearFolder(path, error)) {
        return nullptr;
    }
    std::string reason;
    auto file = platform::LockedAppendFile::open(path, &reason);
    if (!file) {
        if (error != nullptr) {
            *error = fmt::format("cannot open the batch log {}: {}", path, reason);
        }
        return nullptr;
    }
    std::unique_ptr<JobFile> job(new JobFile(std::move(file), path));
    // Under the lock, so two first units of a job cannot both write the heading.
    std::uint64_t size = 0;
    if (!job->file_->size(size, &reason)) {
        if (error != nullptr) {
            *error = fmt::format("cannot read the batch log {}: {}", path, reason);
        }
        return nullptr;
    }
    if (size == 0 && !job->append(kBatchLogHeading, error)) {
        return nullptr;
    }
    return job;
}

bool JobFile::read(std::string& text, std::string* error) const {
    std::string reason;
    if (file_->readAll(text, &reason)) {
        return true;
    }
    if (error != nullptr) {
        *error = fmt::format("cannot read the batch log {}: {}", path_, reason);
    }
    return false;
}

JobFile::~JobFile() = default;

bool JobFile::append(std::string_view text, std::string* error) {
    std::string reason;
    if (file_->append(text, &reason)) {
        return true;
    }
    if (error != nullptr) {
        *error = fmt::format("cannot add to the batch log {}: {}", path_, reason);
    }
    return false;
}

}  // namespace qelto::comms
