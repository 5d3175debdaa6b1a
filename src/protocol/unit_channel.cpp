#include "protocol/unit_channel.h"

namespace qelto::protocol {

std::tm realLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
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
    Packet reply{};
    link_.logNew(request);
    switch (link_.WriteReadPacket(request, reply, attempts)) {
        case LinkStatus::Ok:
            return reply;
        case LinkStatus::Aborted:
            cancelled_ = true;
            return std::nullopt;
        case LinkStatus::Failed:
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
