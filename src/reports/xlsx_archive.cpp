#include "reports/xlsx_archive.h"

#include <zip.h>

#include <utility>

namespace qelto::reports {
namespace {

constexpr zip_uint64_t kMaxPartBytes = 64u * 1024u * 1024u;

std::string archiveError(zip* archive) {
    return zip_error_strerror(zip_get_error(archive));
}

}  // namespace

std::optional<XlsxArchive> XlsxArchive::open(const std::filesystem::path& path,
                                             std::string& error) {
    int code = 0;
    zip* archive = zip_open(path.c_str(), 0, &code);
    if (archive == nullptr) {
        zip_error_t reason;
        zip_error_init_with_code(&reason, code);
        error =
            path.string() + " is not a workbook that can be opened: " + zip_error_strerror(&reason);
        zip_error_fini(&reason);
        return std::nullopt;
    }
    return XlsxArchive(archive);
}

XlsxArchive::XlsxArchive(XlsxArchive&& other) noexcept
    : archive_(std::exchange(other.archive_, nullptr)), pending_(std::move(other.pending_)) {}

XlsxArchive::~XlsxArchive() {
    if (archive_ != nullptr) {
        zip_discard(archive_);
    }
}

bool XlsxArchive::has(const std::string& part) const {
    return zip_name_locate(archive_, part.c_str(), 0) >= 0;
}

std::optional<std::string> XlsxArchive::read(const std::string& part, std::string& error) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive_, part.c_str(), 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) {
        error = "the workbook has no part " + part;
        return std::nullopt;
    }
    if (stat.size > kMaxPartBytes) {
        error = "the workbook's part " + part + " is too large to be a report template";
        return std::nullopt;
    }
    zip_file_t* file = zip_fopen(archive_, part.c_str(), 0);
    if (file == nullptr) {
        error = "cannot read the workbook's part " + part + ": " + archiveError(archive_);
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(stat.size), '\0');
    const zip_int64_t got = zip_fread(file, bytes.data(), stat.size);
    const bool complete = got >= 0 && static_cast<zip_uint64_t>(got) == stat.size;
    if (!complete) {
        error = "the workbook's part " + part + " is damaged: " + zip_file_strerror(file);
    }
    zip_fclose(file);
    return complete ? std::optional<std::string>(std::move(bytes)) : std::nullopt;
}

bool XlsxArchive::write(const std::string& part, std::string bytes, std::string& error) {
    const std::string& kept = pending_.emplace_back(std::move(bytes));
    zip_source_t* source = zip_source_buffer(archive_, kept.data(), kept.size(), 0);
    if (source == nullptr ||
        zip_file_add(archive_, part.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
        error = "cannot store the workbook's part " + part + ": " + archiveError(archive_);
        if (source != nullptr) {
            zip_source_free(source);
        }
        return false;
    }
    return true;
}

bool XlsxArchive::remove(const std::string& part, std::string& error) {
    const zip_int64_t index = zip_name_locate(archive_, part.c_str(), 0);
    if (index >= 0 && zip_delete(archive_, static_cast<zip_uint64_t>(index)) != 0) {
        error = "cannot remove the workbook's part " + part + ": " + archiveError(archive_);
        return false;
    }
    return true;
}

bool XlsxArchive::commit(std::string& error) {
    if (zip_close(archive_) != 0) {
        error = "cannot write the workbook: " + archiveError(archive_);
        return false;  // the destructor discards the changes; the file stays as it was
    }
    archive_ = nullptr;
    return true;
}

}  // namespace qelto::reports
