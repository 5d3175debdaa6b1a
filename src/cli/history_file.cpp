#include "cli/history_file.h"

#include <string>

#include "cli/cli_context.h"
#include "comms/unit_history_store.h"
#include "platform/user_paths.h"

namespace qelto::cli {

std::unique_ptr<comms::HistoryRecorder> openHistoryRecorder() {
    std::string notice;
    auto history = comms::openUnitHistory(platform::historyFile(), &notice);
    if (!comms::unitHistoryInThisBuild()) {
        // Said when the engineer asks for the history, not at every command on a unit.
        notice.clear();
    }
    const bool opened = history != nullptr;
    return std::make_unique<comms::HistoryRecorder>(
        std::move(history), QELTO_VERSION,
        [opened](const std::string& reason) {
            // Not silenced by --quiet: the engineer must know the history missed a command.
            printError("warning: " + reason +
                       (opened ? "" : "; the unit history did not record this command"));
        },
        notice);
}

std::unique_ptr<comms::UnitHistory> openHistoryToRead() {
    std::string warning;
    auto history = comms::openUnitHistory(platform::historyFile(), &warning);
    if (!history) {
        printError(warning);
    } else if (!warning.empty()) {
        printError("warning: " + warning);
    }
    return history;
}

}  // namespace qelto::cli
