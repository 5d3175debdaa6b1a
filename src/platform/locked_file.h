// A shared log file that several Qelto processes add to: each holds it under an exclusive lock
// while it reads and appends, so two lines never interleave and a heading is written once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace qelto::platform {

class LockedAppendFile {
  public:
    // Opens (creating it when new) and locks the file, waiting for another holder of the lock.
    // nullptr with the reason in *reason ("permission denied") when it cannot.
    static std::unique_ptr<LockedAppendFile> open(const std::filesystem::path& path,
                                                  std::string* reason);
    ~LockedAppendFile();
    LockedAppendFile(const LockedAppendFile&) = delete;
    LockedAppendFile& operator=(const LockedAppendFile&) = delete;

    // Adds text at the end and returns only once it is on the disk.
    bool append(std::string_view text, std::string* reason);
    // The whole file as it stands.
    bool readAll(std::string& text, std::string* reason) const;
    // Its size in bytes; false with the reason when it cannot be read.
    bool size(std::uint64_t& bytes, std::string* reason) const;

    struct Handle;

  private:
    explicit LockedAppendFile(std::unique_ptr<Handle> handle);
    std::unique_ptr<Handle> handle_;
};

// Creates the folder itself (not its parents) when it is missing; false with the reason.
bool makeFolder(const std::filesystem::path& folder, std::string* reason);

}  // namespace qelto::platform
