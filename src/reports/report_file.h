// The file a report generator writes its page into: a temporary that removes itself when it is
// closed for good, unless it has been kept by moving it to where the operator saved it.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qelto::reports {

class ReportFile {
  public:
    // An empty name takes a new unique "~tmp" name, in the system's temporary folder when the
    // folder is empty too. An existing file of the given name is emptied. nullopt (and a reason
    // in *error) when the file cannot be created.
    static std::optional<ReportFile> create(const std::filesystem::path& folder,
                                            const std::string& name, bool deleteOnClose,
                                            std::string* error = nullptr);

    ReportFile(ReportFile&& other) noexcept;
    ReportFile& operator=(ReportFile&& other) noexcept;
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;
    // Closes the file and, unless it was kept, deletes it.
    ~ReportFile();

    const std::filesystem::path& path() const { return path_; }
    // Writes one line and its line end; false when the disk refused it.
    bool writeLine(std::string_view line);
    // Ends writing; the file stays until the object goes. False when the last bytes were lost.
    bool close();
    // Moves the file (closed first) and keeps it for good; false leaves it where it was.
    bool moveTo(const std::filesystem::path& target, std::string* error = nullptr);

  private:
    ReportFile(std::FILE* file, std::filesystem::path path, bool deleteOnClose)
        : file_(file), path_(std::move(path)), deleteOnClose_(deleteOnClose) {}
    void release() noexcept;

    std::FILE* file_ = nullptr;
    std::filesystem::path path_;
    bool deleteOnClose_ = false;
};

}  // namespace qelto::reports
