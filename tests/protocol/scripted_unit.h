// A unit played from a script for the operation tests: every request the PC sends is recorded;
// replies come from a queue (an empty slot is a reply that never arrives) or, when set, from a
// function of the request.
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "protocol/packet_catalogue.h"
#include "protocol/packet_link.h"
#include "protocol/unit_channel.h"

namespace qelto::protocol::test {

class ScriptedPath final : public PacketPath {
  public:
    std::vector<Packet> requests;
    std::deque<std::optional<Packet>> replies;
    std::function<std::optional<Packet>(const Packet&)> responder;

    bool isUSB() const override { return true; }
    LinkStatus writePacket(const Packet& packet) override {
        requests.push_back(packet);
        return LinkStatus::Ok;
    }
    LinkStatus readPacket(Packet& packet) override {
        std::optional<Packet> next;
        if (responder) {
            next = responder(requests.back());
        } else if (!replies.empty()) {
            next = replies.front();
            replies.pop_front();
        }
        if (!next) {
            return LinkStatus::Failed;
        }
        packet = *next;
        return LinkStatus::Ok;
    }
};

struct ScriptedUnit {
    ScriptedPath path;
    std::atomic<bool> abort{false};
    PacketLink link{path, nullptr, abort, [](std::chrono::milliseconds) {}};
    UnitChannel channel{link};

    void reply(const Packet& packet) { path.replies.emplace_back(packet); }
    void replyAck(int times = 1) {
        for (int i = 0; i < times; ++i) {
            reply(makeAck());
        }
    }
    const std::vector<Packet>& sent() const { return path.requests; }
};

inline UnitIdentity identityWithVersion(char major, char minor, char sub) {
    UnitIdentity identity;
    identity.serial = 42;
    identity.unitTypeIndex = 5;
    identity.version = {static_cast<std::uint8_t>(major), static_cast<std::uint8_t>(minor),
                        static_cast<std::uint8_t>(sub)};
    return identity;
}

}  // namespace qelto::protocol::test
