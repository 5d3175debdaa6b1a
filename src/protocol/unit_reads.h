// The operations that read a unit: unlocking, identity polls and one Get per group of settings.
// Each fills its part of the communications record and returns true on success; a false that
// came from the operator's cancel shows in channel.cancelled(). Values copied before a failure
// stay in the record.
#pragma once

#include <cstdint>

#include "protocol/comms_data.h"
#include "protocol/unit_channel.h"

namespace qelto::protocol {

// Sends the remembered PIN (data.connection), asking the operator first when none is known. A
// cancelled prompt forgets the PIN (-1) and fails without sending anything; a refused PIN stays
// remembered, so the next unlock sends it again. Fills data.identity.
bool Unlock(CommsData& data, UnitChannel& channel, const PinPrompt& askPin);

// CMD_NONE with the caller's attempts. PKT_ACK fills the identity; both PKT_ACK and PKT_NAK
// report the unit's version and type to the observer, but only PKT_ACK succeeds.
bool SimplePoll(IdentityPart& identity, UnitChannel& channel, int attempts);

// PKT_HALVERCOTT: serial number, unit type, version and identity byte 14.
bool Identify(IdentityPart& identity, UnitChannel& channel);

bool GetCustname(CustNamePart& custName, UnitChannel& channel);
// Also shows the unit clock through the observer (kNoClockText when the unit has none).
bool GetUnitTime(TextSlot<kUnitTimeSlot>& unitTime, UnitChannel& channel);
bool GetGlobals(GlobalsPart& globals, UnitChannel& channel);
bool GetComments(CommentsPart& comments, UnitChannel& channel);
bool GetProgName(ProgNamesPart& progNames, UnitChannel& channel);
bool GetPumpName(PumpNamesPart& pumpNames, UnitChannel& channel);
bool GetUnitDescription(TextSlot<kUnitDescriptionSlot>& description, UnitChannel& channel);
bool GetResetToConfig(ResetToPart& resetTo, UnitChannel& channel);
bool GetAutoFSConfig(AutoFs& autoFs, UnitChannel& channel);

bool GetEnProgs(EnProgs& map, UnitChannel& channel);
bool GetPumpCal(CalibrationPart& calibration, UnitChannel& channel);
// Reads the calibration first (its failure fails the read), then the enabled-trigger map (its
// failure means every trigger is read), then both halves of each enabled trigger. Fills
// data.calibration and data.progData.
bool GetProgdata(CommsData& data, UnitChannel& channel);

// The radio dongle's settings for a channel (kAnyRfChannel leaves it the choice); one attempt,
// because a scan asks many channels and a silent one must not hold it up.
bool getRfSettings(std::uint8_t rfChannel, RfSettingsReply& settings, UnitChannel& channel);

// Units keep no unit name and no wash statistics to read: the first has nothing to do, the
// second can never succeed.
inline bool GetUnitName() {
    return true;
}
inline bool GetWashstats() {
    return false;
}

}  // namespace qelto::protocol
