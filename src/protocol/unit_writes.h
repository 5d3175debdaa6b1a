// The operations that change a unit: one Set per group of settings, the erase and reset
// commands, the clock, serial number and identification text, manual pump runs and the final
// lock. Every request must be answered by PKT_ACK unless said otherwise; a multi-packet write
// stops at its first failure, and what was already acknowledged stays on the unit. A false that
// came from the operator's cancel shows in channel.cancelled(). The unit must be unlocked first.
#pragma once

#include <cstdint>
#include <string_view>

#include "protocol/comms_data.h"
#include "protocol/unit_channel.h"

namespace qelto::protocol {

// Both global blocks. The bytes a reply carries for information only (the unit serial number,
// bytes 26..28, the two words of block 2) go as zeros.
bool SetGlobals(const GlobalsPart& globals, UnitChannel& channel);
bool SetCustName(const CustNamePart& custName, UnitChannel& channel);
// Both calibration groups, dated today by the clock; between them 30 polls 100 ms apart keep
// the unit's link awake while it stores the first group.
bool SetPumpCal(const CalibrationPart& calibration, UnitChannel& channel, const LocalClock& clock,
                const SleepFunction& sleep);
// The program data of every program that has an enabled pump. A trigger with no enabled pump
// whose pulse count equals defaultPulseCount is left out: the unit's erased state holds it.
bool SetProgData(const ProgDataPart& progData, UnitChannel& channel,
                 std::uint8_t defaultPulseCount);
bool SetComments(const CommentsPart& comments, UnitChannel& channel);
bool SetProgName(const ProgNamesPart& progNames, UnitChannel& channel);
bool SetPumpName(const PumpNamesPart& pumpNames, UnitChannel& channel);
bool SetUnitDescription(std::string_view text, UnitChannel& channel);
bool SetResetToConfig(const ResetToPart& resetTo, UnitChannel& channel);
bool SetAutoFSConfig(const AutoFs& autoFs, UnitChannel& channel);
// The PC's local time; fails without sending when the clock gives a time that cannot be sent.
bool SetUnitTime(UnitChannel& channel, const LocalClock& clock);
// The first ten characters; an empty text sends nothing and succeeds.
bool SetUnitSerialNumber(std::string_view text, UnitChannel& channel);
bool setIdentificationText(std::string_view text, UnitChannel& channel);

// A unit without names answers PKT_NAK, which is as good as erased.
bool EraseNames(UnitChannel& channel);
bool EraseFormula(UnitChannel& channel);
bool ResetCounters(UnitChannel& channel);
bool resetWashCounts(UnitChannel& channel);
// Identifies the unit (filling identity), then wipes its settings memory.
bool eraseSettingsMemory(IdentityPart& identity, UnitChannel& channel);
// A manual pump run; PKT_NAK (a pump already stopped) counts as success.
bool pumpCommand(const PumpOps& ops, UnitChannel& channel);
bool lockUnit(UnitChannel& channel);

// The pulse count of an erased trigger on this unit: 1 from software 2.0.5 on, else 0. Polls the
// unit (filling identity).
std::uint8_t defaultPulseCount(IdentityPart& identity, UnitChannel& channel);
// The same rule for a version already known (major, minor, sub as characters).
std::uint8_t defaultPulseCountFor(const std::array<std::uint8_t, 3>& version);

}  // namespace qelto::protocol
