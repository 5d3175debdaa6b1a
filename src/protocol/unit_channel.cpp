#include "protocol/unit_channel.h"

#include "platform/calendar_time.h"

namespace qelto::protocol {

std::tm realLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    platform::localTime(now, local);
    return local;
}

UnitChannel::UnitChannel(PacketLink& link, OperationObserver* observer)
    : link_(link), observer_(observer != nullptr ? observer : &fallback_) {}

std::optional<Packet> UnitChannel::ask(const Packet& request, int attempts) {
    // Once the operator has cancelled, the operation runs its remaining steps to their end; each
    // must fail at once instead of going on changing a unit the operator wanted left alone. Only
    // the lock still goes out, so the unit is never left open.
    const bool isLock = request.id() == PKT_POLL && request[6] == CMD_LOCK;
    if (link_.aborted() && !isLock) {
        cancelled_ = true;
        return std::nullopt;
    }
    // A unit that stopped answering would make every later request wait out all its retries,
    // minutes in all with nothing to show. The lock is still worth one try: it may be back.
    if (link_.unanswered()) {
        if (!isLock || !link_.takeLastLockTry()) {
            return std::nullopt;
        }
        attempts = 1;
    }
    Packet reply{};
    link_.logNew(request);
    int retried = 0;
    const auto onRetry = [this, &retried](int attempt, int of) {
        retried = attempt;
        observer_->retrying(attempt, of);
    };
    LinkStatus status = link_.WriteReadPacket(request, reply, attempts, onRetry);
    // A stop that came between two waits leaves the port's cancel pending, and the lock's own
    // wait takes it before a byte is sent: the lock is worth one more try.
    if (status == LinkStatus::Aborted && isLock) {
        status = link_.WriteReadPacket(request, reply, attempts, onRetry);
    }
    switch (status) {
        case LinkStatus::Ok:
            if (retried != 0) {
                observer_->answeredOnRetry(retried, attempts);
            }
            return reply;
        case LinkStatus::Aborted:
            cancelled_ = true;
            return std::nullopt;
        case LinkStatus::Failed:
            // Probes (a scan's polls, the radio settings) ask with fewer attempts: their silence
            // is an answer, not a unit that stopped.
            if (attempts >= kOperationAttempts) {
                link_.noteUnanswered(request);
            }
            break;
    }
    return std::nullopt;
}

bool UnitChannel::askAck(const Packet& request, int attempts) {
    const auto reply = ask(request, attempts);
    return reply && reply->id() == PKT_ACK;
}

bool UnitChannel::askAckOrNak(const Packet& request, int attempts) {
    const auto reply = ask(request, attempts);
    return reply && (reply->id() == PKT_ACK || reply->id() == PKT_NAK);
}

}  // namespace qelto::protocol
