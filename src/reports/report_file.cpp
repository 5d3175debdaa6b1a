#include "reports/report_file.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

#include "platform/c_file.h"

namespace qelto::reports {
namespace {

void setError(std::string* error, const std::string& text) {
    if (error != nullptr) {
        *error = text;
    }
}

}  // namespace

std::optional<ReportFile> ReportFile::create(const std::filesystem::path& folder,
                                             const std::string& name, bool deleteOnClose,
                                             std::string* error) {
    std::error_code ec;
    std::filesystem::path dir = folder;
    if (dir.empty() && name.empty()) {
        dir = std::filesystem::temp_directory_path(ec);
        if (ec) {
            setError(error, "no temporary folder: " + ec.message());
            return std::nullopt;
        }
    }
    if (!name.empty()) {
        const std::filesystem::path path = dir / name;
        std::FILE* file = platform::openCFile(path, "w+b");
        if (file == nullptr) {
            setError(error, "cannot create " + path.string() + ": " + std::strerror(errno));
            return std::nullopt;
        }
        return ReportFile(file, path, deleteOnClose);
    }
    std::filesystem::path made;
    std::FILE* file = platform::createUniqueFile(dir, "~tmp", made);
    if (file == nullptr) {
        setError(error, "cannot create a file in " + dir.string() + ": " + std::strerror(errno));
        return std::nullopt;
    }
    return ReportFile(file, made, deleteOnClose);
}

ReportFile::ReportFile(ReportFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      path_(std::move(other.path_)),
      deleteOnClose_(std::exchange(other.deleteOnClose_, false)) {}

ReportFile& ReportFile::operator=(ReportFile&& other) noexcept {
    if (this != &other) {
        release();
        file_ = std::exchange(other.file_, nullptr);
        path_ = std::move(other.path_);
        deleteOnClose_ = std::exchange(other.deleteOnClose_, false);
    }
    return *this;
}

ReportFile::~ReportFile() {
    release();
}

void ReportFile::release() noexcept {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (deleteOnClose_ && !path_.empty()) {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    deleteOnClose_ = false;
}

bool ReportFile::writeLine(std::string_view line) {
    return file_ != nullptr && std::fwrite(line.data(), 1, line.size(), file_) == line.size() &&
           std::fputc('\n', file_) != EOF;
}

bool ReportFile::close() {
    if (file_ == nullptr) {
        return true;
    }
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}

bool ReportFile::moveTo(const std::filesystem::path& target, std::string* error) {
    if (!close()) {
        setError(error, "the report could not be written to the end");
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(path_, target, ec);
    if (ec) {
        setError(error, "cannot move the report to " + target.string() + ": " + ec.message());
        return false;
    }
    path_ = target;
    deleteOnClose_ = false;
    return true;
}

}  // namespace qelto::reports
