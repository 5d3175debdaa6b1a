#include "comms/batch_paths.h"

#include <fmt/format.h>

#include <filesystem>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/user_folders.h"

namespace qelto::comms {

BatchEnvironment realBatchEnvironment() {
    return {protocol::realLocalTime, runningProgramFolder()};
}

std::string runningProgramFolder() {
    const auto program = platform::programFolder();
    if (program.empty()) {
        return {};
    }
    std::string folder = program.string();
    if (folder.back() != '/' && folder.back() != '\\') {
        folder += '/';
    }
    return folder;
}

std::string logDirectoryInUse(const std::string& logDirectorySetting,
                              const std::string& programFolder) {
    return logDirectorySetting.empty() ? programFolder : logDirectorySetting;
}

std::string yearText(const std::tm& when) {
    return fmt::format("{:04}", when.tm_year + 1900);
}

std::string jobYearFolder(const std::string& logDirectory, const std::string& year) {
    return logDirectory + year;
}

std::string jobFilePath(const std::string& logDirectory, const std::string& year,
                        std::string_view job) {
    return fmt::format("{}{}/{}.csv", logDirectory, year, job);
}

std::string jobNameProblem(std::string_view job) {
    if (job.find('\0') != std::string_view::npos) {
        return "The Sales Order No contains a zero byte, but it names the job's log file.";
    }
    // '/' everywhere; on Windows also the other characters its file names cannot hold.
    if (const char c = platform::forbiddenFileNameChar(job); c != '\0') {
        return fmt::format(
            "The Sales Order No \"{}\" contains a '{}', but it names the job's log "
            "file; choose one without it.",
            job, c);
    }
    if (job == "." || job == "..") {
        return fmt::format(
            "The Sales Order No \"{}\" names a folder, not a log file; choose "
            "another.",
            job);
    }
    return {};
}

}  // namespace qelto::comms
