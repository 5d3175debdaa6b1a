// What a request asks of a unit, in words, for the message that says where an operation stopped.
#pragma once

#include <string>

#include "protocol/packet.h"

namespace qelto::protocol {

// "reading the program names", "writing the program data", "locking the unit".
std::string requestPurpose(const Packet& request);

}  // namespace qelto::protocol
