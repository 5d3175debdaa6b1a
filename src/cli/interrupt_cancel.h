// Ctrl-C during a unit operation cancels it instead of killing qeltoctl, so the unit is still
// locked again; a second Ctrl-C quits at once.
#pragma once

#include <atomic>

#include "platform/byte_link.h"

namespace qelto::cli {

class InterruptCancels {
  public:
    // port may be null (a USB link: its waits are short and end by themselves).
    InterruptCancels(std::atomic<bool>& abort, platform::ByteLink* port);
    ~InterruptCancels();
    InterruptCancels(const InterruptCancels&) = delete;
    InterruptCancels& operator=(const InterruptCancels&) = delete;

    bool interrupted() const;
};

}  // namespace qelto::cli
