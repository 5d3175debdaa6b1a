// A .xlsx workbook is a zip archive of XML parts. libzip changes nothing on disk until commit():
// it then writes a temporary file beside the archive and renames it over, so a failed export
// leaves the file as it was before.
#pragma once

#include <filesystem>
#include <list>
#include <optional>
#include <string>

struct zip;

namespace qelto::reports {

class XlsxArchive {
  public:
    // nullopt with the reason when the file cannot be opened as a zip archive.
    static std::optional<XlsxArchive> open(const std::filesystem::path& path, std::string& error);

    XlsxArchive(XlsxArchive&& other) noexcept;
    XlsxArchive& operator=(XlsxArchive&&) = delete;
    XlsxArchive(const XlsxArchive&) = delete;
    XlsxArchive& operator=(const XlsxArchive&) = delete;
    ~XlsxArchive();  // discards every change not committed

    bool has(const std::string& part) const;

    // The part's bytes; nullopt with the reason when it is missing, damaged or larger than any
    // part a report workbook needs (a zip bomb is not unpacked).
    std::optional<std::string> read(const std::string& part, std::string& error) const;

    // Replaces (or adds) and removes parts; both take effect at commit().
    bool write(const std::string& part, std::string bytes, std::string& error);
    bool remove(const std::string& part, std::string& error);

    // Writes the archive with its changes. After a failure the file on disk is unchanged.
    bool commit(std::string& error);

  private:
    explicit XlsxArchive(zip* archive) : archive_(archive) {}

    zip* archive_;
    // libzip reads the new parts' bytes only when it writes the archive, so they live here until
    // then (a list, so that adding one never moves another).
    std::list<std::string> pending_;
};

}  // namespace qelto::reports
