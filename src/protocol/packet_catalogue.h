// Every packet a unit and the PC exchange, as typed records: builders for both directions (the
// PC's requests, and the unit's replies for the simulator and the tests) and parsers that check
// the identifier and the packet's own validity rules. These files are the one place that knows
// where each field sits in a packet.
#pragma once

#include "protocol/packet_catalogue_commands.h"  // IWYU pragma: export
#include "protocol/packet_catalogue_program.h"   // IWYU pragma: export
#include "protocol/packet_catalogue_report.h"    // IWYU pragma: export
#include "protocol/packet_catalogue_settings.h"  // IWYU pragma: export
#include "protocol/packet_catalogue_texts.h"     // IWYU pragma: export
