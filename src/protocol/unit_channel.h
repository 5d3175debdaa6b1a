// What every unit operation exchanges packets through: the packet link, the place where progress
// and the unit's details go, and a record of whether the operator cancelled. Operations return
// true or false; a false caused by the operator's cancel is told apart by cancelled(), so the
// caller can say "cancelled" instead of "the unit did not answer".
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string_view>

#include "protocol/packet.h"
#include "protocol/packet_link.h"

namespace qelto::protocol {

// Attempts per exchange unless an operation says otherwise.
inline constexpr int kOperationAttempts = 9;

// The unit-time text shown when a unit has no clock or did not say.
inline constexpr std::string_view kNoClockText = "** NO RTC Fitted **";

// Where an operation reports to whoever drives it. Every method has a do-nothing default, so a
// caller overrides only what it shows.
class OperationObserver {
  public:
    virtual ~OperationObserver() = default;
    // A multi-packet read shows a bar of `steps` steps while it runs.
    virtual void progressBegin(int steps) { (void)steps; }
    virtual void progressStep() {}
    virtual void progressEnd() {}
    // The software version (major, minor, sub characters) and unit type a poll reported.
    virtual void currentUnit(const std::array<std::uint8_t, 3>& version,
                             std::uint8_t unitTypeIndex) {
        (void)version;
        (void)unitTypeIndex;
    }
    // The unit clock as it should be displayed (kNoClockText when there is none).
    virtual void unitTimeShown(std::string_view text) { (void)text; }
    // A request went unanswered and is sent again (attempt counts from 2), and, when one of
    // those attempts was answered, which one.
    virtual void retrying(int attempt, int attempts) {
        (void)attempt;
        (void)attempts;
    }
    virtual void answeredOnRetry(int attempt, int attempts) {
        (void)attempt;
        (void)attempts;
    }
};

// Asks the operator for the unit's PIN; nullopt when the operator cancels.
using PinPrompt = std::function<std::optional<std::uint16_t>()>;

// The local time now; tests pass a fixed one.
using LocalClock = std::function<std::tm()>;
std::tm realLocalTime();

class UnitChannel {
  public:
    explicit UnitChannel(PacketLink& link, OperationObserver* observer = nullptr);
    UnitChannel(const UnitChannel&) = delete;
    UnitChannel& operator=(const UnitChannel&) = delete;

    // One exchange: the reply is cleared, the request logged as new, then sent and read back
    // with its retries. nullopt when no reply came (cancelled() tells whether the operator
    // stopped it). The caller checks the reply's identifier. On an operation's link, a request
    // that goes unanswered through all its attempts marks the unit as no longer answering: from
    // then on every request of the link fails at once, but for one short try of the lock.
    std::optional<Packet> ask(const Packet& request, int attempts = kOperationAttempts);
    // An exchange that must be answered by PKT_ACK.
    bool askAck(const Packet& request, int attempts = kOperationAttempts);
    // An exchange whose PKT_NAK means "nothing to do" and counts as success too.
    bool askAckOrNak(const Packet& request, int attempts = kOperationAttempts);

    // True once an exchange of this channel was stopped by the operator's cancel.
    bool cancelled() const { return cancelled_; }
    // True once the unit let a request go unanswered through all its attempts.
    bool unitStoppedAnswering() const { return link_.unanswered().has_value(); }
    void clearCancelled() { cancelled_ = false; }

    OperationObserver& observer() { return *observer_; }

  private:
    PacketLink& link_;
    OperationObserver fallback_;
    OperationObserver* observer_;
    bool cancelled_ = false;
};

// Shows the progress bar for the lifetime of one operation, and always hides it again.
class ProgressScope {
  public:
    ProgressScope(OperationObserver& observer, int steps) : observer_(observer) {
        observer_.progressBegin(steps);
    }
    ~ProgressScope() { observer_.progressEnd(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    void step() { observer_.progressStep(); }

  private:
    OperationObserver& observer_;
};

}  // namespace qelto::protocol
