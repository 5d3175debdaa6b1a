// Where a batch keeps its job files: "<log directory in use><year>/<job>.csv".
//
// The parts are joined as text, with no separator after the log directory: engineers' log trees
// were made that way, so a directory typed without its trailing slash puts the year folder beside
// it ("/data/logs" gives "/data/logs2025/"), and existing jobs are only found again if Qelto
// builds the very same names.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "protocol/unit_channel.h"

namespace qelto::comms {

// What the batch code takes from the machine; tests fix both.
struct BatchEnvironment {
    protocol::LocalClock clock = protocol::realLocalTime;
    // The folder of the running program, ending in a separator: the log directory of a user who
    // never chose one.
    std::string programFolder;
};

// The real clock and the folder of the running program.
BatchEnvironment realBatchEnvironment();

// The folder of the running program with its trailing separator; empty when it cannot be found.
std::string runningProgramFolder();

// The "LogDirectory" setting as stored, or the program folder when the setting is empty.
std::string logDirectoryInUse(const std::string& logDirectorySetting,
                              const std::string& programFolder);

// "%Y" of the given local time.
std::string yearText(const std::tm& when);

std::string jobYearFolder(const std::string& logDirectory, const std::string& year);
std::string jobFilePath(const std::string& logDirectory, const std::string& year,
                        std::string_view job);

// Why a job name cannot name its log file (a separator would put the file in another folder,
// "." and ".." are folders); empty when it can.
std::string jobNameProblem(std::string_view job);

}  // namespace qelto::comms
