#include "cli/stop_state.h"

#include "cli/interrupt_cancel.h"

namespace qelto::cli {

std::atomic<comms::UnitSession*> gSession{nullptr};
std::atomic<int> gStopSignal{0};

int stopSignal() {
    return gStopSignal.load();
}

InterruptCancels::InterruptCancels(comms::UnitSession& session) {
    // A stop that came earlier in this run holds for every later operation too.
    if (stopSignal() != 0) {
        session.requestStop();
    }
    gSession.store(&session);
}

InterruptCancels::~InterruptCancels() {
    gSession.store(nullptr);
}

bool InterruptCancels::interrupted() const {
    return stopSignal() != 0;
}

}  // namespace qelto::cli
