// A .xlsx workbook is a zip archive of XML parts. The archive is worked on in memory: nothing
// reaches the disk until the caller writes the finished bytes, so an export that fails half-way
// leaves no half-filled workbook behind.
#pragma once

#include <filesystem>
#include <list>
#include <memory>
#include <optional>
#include <string>

struct zip;
struct zip_source;

namespace qelto::reports {

class XlsxArchive {
  public:
    // nullopt with the reason when the file cannot be read or is not a zip archive.
    static std::optional<XlsxArchive> open(const std::filesystem::path& path, std::string& error);
    // name stands for the bytes in messages.
    static std::optional<XlsxArchive> fromBytes(std::string bytes, const std::string& name,
                                                std::string& error);

    XlsxArchive(XlsxArchive&& other) noexcept;
    XlsxArchive& operator=(XlsxArchive&&) = delete;
    XlsxArchive(const XlsxArchive&) = delete;
    XlsxArchive& operator=(const XlsxArchive&) = delete;
    ~XlsxArchive();

    bool has(const std::string& part) const;

    // The part's bytes; nullopt with the reason when it is missing, damaged or larger than any
    // part a report workbook needs (a zip bomb is not unpacked).
    std::optional<std::string> read(const std::string& part, std::string& error) const;

    // Replaces (or adds) and removes parts; both take effect in finish().
    bool write(const std::string& part, std::string bytes, std::string& error);
    bool remove(const std::string& part, std::string& error);

    // The whole archive with its changes, as a file would hold it. The archive is closed after.
    std::optional<std::string> finish(std::string& error);

  private:
    XlsxArchive(std::unique_ptr<std::string> bytes, zip_source* source, zip* archive)
        : bytes_(std::move(bytes)), source_(source), archive_(archive) {}

    // libzip reads the original bytes in place and writes the new archive into the same source.
    std::unique_ptr<std::string> bytes_;
    zip_source* source_;
    zip* archive_;
    // libzip reads the new parts' bytes only when it writes the archive, so they live here until
    // then (a list, so that adding one never moves another).
    std::list<std::string> pending_;
};

}  // namespace qelto::reports
