#include "comms/unit_history_store.h"

#include "logs/sqlite_history.h"

namespace qelto::comms {

bool unitHistoryInThisBuild() {
    return true;
}

std::unique_ptr<UnitHistory> openUnitHistory(const std::filesystem::path& file,
                                             std::string* warning) {
    return logs::SqliteHistory::open(file, warning);
}

}  // namespace qelto::comms
