// Whoever wants to see every packet a link builds, sends or receives (the communications log)
// plugs in here. The link only reports; what becomes of a packet is the tap's business, so the
// protocol never depends on the log.
#pragma once

#include "protocol/packet.h"

namespace qelto::protocol {

enum class PacketDirection : int {
    New = 0,       // the PC built a request
    Sent = 1,      // a request went out
    Received = 2,  // a reply came in
    Sent2 = 3,     // the second link path
    Received2 = 4,
};

class PacketTap {
  public:
    virtual ~PacketTap() = default;
    virtual void onPacket(const Packet& packet, PacketDirection direction) = 0;
};

}  // namespace qelto::protocol
