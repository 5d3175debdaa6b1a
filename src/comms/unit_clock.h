// The unit clock as the front ends meet it: the PC's local time a clock write sends, and the
// unit's 14-digit clock text ("HHMMSSDDMMYYYY") read back into a date and time.
#pragma once

#include "protocol/packet_catalogue_texts.h"
#include "protocol/unit_channel.h"

namespace qelto::comms {

using protocol::parseUnitTimeText;
using protocol::realLocalTime;

}  // namespace qelto::comms
