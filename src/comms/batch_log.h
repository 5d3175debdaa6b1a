// The job file of a batch: one CSV line for every unit the batch writes, so that an order's
// records say which unit left with which software, when, by whom, and whether it failed.
#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/locked_file.h"

namespace qelto::comms {

inline constexpr std::string_view kBatchLogHeading =
    "Date,Time,Serial No,Model,Software,Result,User,Host\r\n";

inline constexpr std::string_view kBatchResultOk = "ok";
inline constexpr std::string_view kBatchResultFailed = "failed";
inline constexpr std::string_view kBatchResultVerifyFailed = "verify failed";
inline constexpr std::string_view kBatchResultNotVerified = "not verified";
inline constexpr std::string_view kBatchResultCancelled = "cancelled";

struct BatchUnitLine {
    std::tm when{};
    std::uint32_t serial = 0;
    std::string model;
    std::string software;
    std::string result;
    std::string user;
    std::string host;
};

// One field as RFC 4180 quotes it. A field that a spreadsheet would run as a formula gets a
// leading apostrophe first: user and host names come from outside.
std::string csvField(std::string_view text);

// The line of one unit, ending in CRLF as the spreadsheets that open these files expect.
std::string batchLogLine(const BatchUnitLine& line);

// Whether the batch under way, which has counted `counted` units, counted the unit with this
// serial number (not 0): the job file's lines that say "ok" are read back from the end, each
// serial number once, until that count is reached; earlier lines belong to earlier batches of
// the job. The file may have been edited by hand: any field may be quoted, a serial number may
// have lost its leading zeros, and a line may be cut short.
bool batchCountedUnit(std::string_view text, std::uint32_t serial, std::uint32_t counted);

// This machine's name, empty when it has none.
std::string localHostName();

// The job file opened for appending and locked, so that two engineers writing units of the same
// job on two ports never interleave their lines or count a unit twice. The lock goes with it.
class JobFile {
  public:
    // Creates the year folder when it is missing (never the log directory itself: a mistyped
    // one must not grow into a tree of folders) and the file with its heading when it is new.
    // nullptr with error naming the file or folder and the reason.
    static std::unique_ptr<JobFile> open(const std::string& path, std::string* error);
    ~JobFile();
    JobFile(const JobFile&) = delete;
    JobFile& operator=(const JobFile&) = delete;

    bool append(std::string_view text, std::string* error);
    // The whole file as it stands, read under the lock.
    bool read(std::string& text, std::string* error) const;
    const std::string& path() const { return path_; }

  private:
    JobFile(std::unique_ptr<platform::LockedAppendFile> file, std::string path)
        : file_(std::move(file)), path_(std::move(path)) {}
    std::unique_ptr<platform::LockedAppendFile> file_;
    std::string path_;
};

}  // namespace qelto::comms
