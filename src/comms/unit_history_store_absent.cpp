// A build without SQLite (the Windows build) has no unit history.
#include "comms/unit_history_store.h"

namespace qelto::comms {

bool unitHistoryInThisBuild() {
    return false;
}

std::unique_ptr<UnitHistory> openUnitHistory(const std::filesystem::path&, std::string* warning) {
    if (warning != nullptr) {
        *warning = "the unit history is not part of this build";
    }
    return nullptr;
}

}  // namespace qelto::comms
