// The unit's side of each settings packet: what it puts into a reply for a Get, and what it takes
// from a Set. Written from the byte tables directly, not from the PC's packet code, so that a
// misread table shows up as a disagreement between the two sides instead of hiding in both.
// A store function returns false when the request carries something the unit refuses (a group,
// index or trigger that does not exist); the memory is then unchanged.
#pragma once

#include <cstdint>
#include <optional>

#include "protocol/packet.h"
#include "sim/unit_memory.h"

namespace qelto::sim {

using protocol::Packet;

// A reply of the given identifier with the unit's serial number in bytes 2..5. A unit stamps it
// into every reply whose layout leaves those bytes free, so a PC can re-align a rotated frame.
Packet stampedReply(const LaundryMemory& memory, std::uint8_t id);
// PKT_ACK or PKT_NAK with the identity: serial 2..5, product code 6, unit type 9, version
// characters 11..13, processor serial 19..22.
Packet identityReply(const LaundryMemory& memory, std::uint8_t id);

Packet globalsReply(const LaundryMemory& memory, std::uint8_t block);  // block 0 or 1
bool storeGlobals(const Packet& request, LaundryMemory& memory);       // identifier 6 or 7

std::optional<Packet> calibrationReply(const LaundryMemory& memory, std::uint8_t group);
bool storeCalibration(const Packet& request, LaundryMemory& memory);

std::optional<Packet> programDataReply(const LaundryMemory& memory, std::uint8_t id,
                                       std::uint8_t trigger);
bool storeProgramData(const Packet& request, LaundryMemory& memory);

Packet enabledTriggersReply(const LaundryMemory& memory);

Packet autoFlushReply(const LaundryMemory& memory);
void storeAutoFlush(const Packet& request, LaundryMemory& memory);

Packet resetToReply(const LaundryMemory& memory);
bool storeResetTo(const Packet& request, LaundryMemory& memory);

std::optional<Packet> programNameReply(const LaundryMemory& memory, std::uint8_t index);
bool storeProgramName(const Packet& request, LaundryMemory& memory);
std::optional<Packet> pumpNameReply(const LaundryMemory& memory, std::uint8_t index);
bool storePumpName(const Packet& request, LaundryMemory& memory);
std::optional<Packet> customerLineReply(const LaundryMemory& memory, std::uint8_t line);
bool storeCustomerLine(const Packet& request, LaundryMemory& memory);

// Blocks are numbered from 1; nullopt when the unit holds no such block.
std::optional<Packet> commentReply(const LaundryMemory& memory, std::uint8_t block);
bool storeComment(const Packet& request, LaundryMemory& memory);  // false when 100 are held

Packet descriptionReply(const LaundryMemory& memory);
void storeDescription(const Packet& request, LaundryMemory& memory);

// hostNow is the host's time in seconds since the epoch; the unit keeps its clock as an offset.
Packet unitTimeReply(const LaundryMemory& memory, std::int64_t hostNow);
bool storeUnitTime(const Packet& request, LaundryMemory& memory, std::int64_t hostNow);

bool storeSerialNumber(const Packet& request, LaundryMemory& memory);

}  // namespace qelto::sim
