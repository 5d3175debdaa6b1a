#include "reports/xlsx_archive.h"

#include <zip.h>

#include <utility>

#include "platform/atomic_file.h"

namespace qelto::reports {
namespace {

constexpr zip_uint64_t kMaxPartBytes = 64u * 1024u * 1024u;

std::string archiveError(zip* archive) {
    return zip_error_strerror(zip_get_error(archive));
}

// The bytes a buffer source holds after libzip has written an archive into it.
std::optional<std::string> sourceBytes(zip_source_t* source, std::string& error) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(source, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
        zip_source_open(source) != 0) {
        error = "cannot write the workbook: " +
                std::string(zip_error_strerror(zip_source_error(source)));
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(stat.size), '\0');
    const zip_int64_t got = zip_source_read(source, bytes.data(), stat.size);
    zip_source_close(source);
    if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size) {
        error = "cannot write the workbook: it could not be read back from memory";
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::optional<XlsxArchive> XlsxArchive::open(const std::filesystem::path& path,
                                             std::string& error) {
    std::string bytes;
    if (!platform::readWholeFile(path, bytes, &error)) {
        return std::nullopt;
    }
    return fromBytes(std::move(bytes), path.string(), error);
}

std::optional<XlsxArchive> XlsxArchive::fromBytes(std::string bytes, const std::string& name,
                                                  std::string& error) {
    auto held = std::make_unique<std::string>(std::move(bytes));
    zip_error_t reason;
    zip_error_init(&reason);
    zip_source_t* source = zip_source_buffer_create(held->data(), held->size(), 0, &reason);
    zip_t* archive = source == nullptr ? nullptr : zip_open_from_source(source, 0, &reason);
    if (archive == nullptr) {
        error = name + " is not a workbook that can be opened: " + zip_error_strerror(&reason);
        zip_error_fini(&reason);
        if (source != nullptr) {
            zip_source_free(source);
        }
        return std::nullopt;
    }
    zip_error_fini(&reason);
    // The archive holds the source until it is closed; this reference keeps the written bytes
    // readable after that.
    zip_source_keep(source);
    return XlsxArchive(std::move(held), source, archive);
}

XlsxArchive::XlsxArchive(XlsxArchive&& other) noexcept
    : bytes_(std::move(other.bytes_)),
      source_(std::exchange(other.source_, nullptr)),
      archive_(std::exchange(other.archive_, nullptr)),
      pending_(std::move(other.pending_)) {}

XlsxArchive::~XlsxArchive() {
    if (archive_ != nullptr) {
        zip_discard(archive_);
    }
    if (source_ != nullptr) {
        zip_source_free(source_);
    }
}

bool XlsxArchive::has(const std::string& part) const {
    return archive_ != nullptr && zip_name_locate(archive_, part.c_str(), 0) >= 0;
}

std::optional<std::string> XlsxArchive::read(const std::string& part, std::string& error) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (archive_ == nullptr || zip_stat(archive_, part.c_str(), 0, &stat) != 0 ||
        (stat.valid & ZIP_STAT_SIZE) == 0) {
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
    if (archive_ == nullptr) {
        error = "the workbook is already closed";
        return false;
    }
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
    if (archive_ == nullptr) {
        error = "the workbook is already closed";
        return false;
    }
    const zip_int64_t index = zip_name_locate(archive_, part.c_str(), 0);
    if (index >= 0 && zip_delete(archive_, static_cast<zip_uint64_t>(index)) != 0) {
        error = "cannot remove the workbook's part " + part + ": " + archiveError(archive_);
        return false;
    }
    return true;
}

std::optional<std::string> XlsxArchive::finish(std::string& error) {
    if (archive_ == nullptr) {
        error = "the workbook is already closed";
        return std::nullopt;
    }
    if (zip_close(archive_) != 0) {
        error = "cannot write the workbook: " + archiveError(archive_);
        return std::nullopt;  // the destructor discards the archive
    }
    archive_ = nullptr;
    return sourceBytes(source_, error);
}

}  // namespace qelto::reports
