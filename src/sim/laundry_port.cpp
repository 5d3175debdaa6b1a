#include "sim/laundry_port.h"

#include <algorithm>
#include <utility>

#include "protocol/frame.h"
#include "sim/sim_state.h"

namespace qelto::sim {

using namespace protocol;

LaundryPort::LaundryPort(LaundryUnit unit, FaultPlan faults, RequestLog* log)
    : unit_(std::move(unit)), faults_(faults), log_(log) {}

std::vector<std::uint8_t> LaundryPort::receive(std::span<const std::uint8_t> bytes) {
    reader_.push(bytes);
    std::vector<std::uint8_t> out;
    while (auto request = reader_.next()) {
        serve(*request, out);
    }
    return out;
}

void LaundryPort::serve(const Packet& request, std::vector<std::uint8_t>& out) {
    nlohmann::json entry{{"seq", ++sequence_}, {"id", request.id()}};
    if (request.id() == PKT_POLL) {
        entry["cmd"] = request[6];
    }
    entry["byte7"] = request[7];
    entry["byte8"] = request[8];

    std::optional<Packet> reply;
    std::string outcome = "answered";
    switch (faults_.onRequest()) {
        case RequestFault::Silent:
            outcome = "silent";
            break;
        case RequestFault::Drop:
            outcome = "dropped";
            break;
        case RequestFault::Nak:
            // Refused before the unit looked at it: nothing in memory changes.
            outcome = "nak";
            reply = unit_.nak();
            break;
        case RequestFault::None:
            reply = unit_.answer(request);
            if (!reply) {
                outcome = "unanswered";
            }
            break;
    }
    if (reply) {
        Frame frame = encodeFrame(*reply);
        switch (faults_.onReply()) {
            case ReplyFault::Corrupt:
                frame[34] = static_cast<std::uint8_t>(frame[34] ^ 0xFF);
                outcome = "corrupted";
                break;
            case ReplyFault::Rotate:
                // The tail goes out first, as a unit whose transmit buffer wrapped sends it.
                std::rotate(frame.begin(),
                            frame.end() - static_cast<std::ptrdiff_t>(faults_.options().rotateBy),
                            frame.end());
                outcome = "rotated";
                break;
            case ReplyFault::None:
                break;
        }
        out.insert(out.end(), frame.begin(), frame.end());
        entry["reply"] = reply->id();
    }
    entry["outcome"] = outcome;
    entry.update(logTag_);
    if (log_ != nullptr) {
        log_->write(entry);
    }
}

nlohmann::json LaundryPort::dump() const {
    nlohmann::json state = laundryStateToJson(unit_.memory(), unit_.hostNow());
    state["locked"] = unit_.locked();
    return state;
}

}  // namespace qelto::sim
