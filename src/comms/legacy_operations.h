// The operations on older units (the first laundry units and the dishwash units), which speak the
// legacy serial protocol: each a blocking sequence on the legacy link that the unit session opens
// on its serial port (see UnitSession::runLegacy). Like the packet-unit operations they speak
// through OperatorPrompts (the password, the confirmation, the closing message) and return an
// OperationResult; a failure is told before they return, a cancel ends them without a word.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "comms/operation_driver.h"
#include "comms/unit_report.h"

namespace qelto::comms {

struct LegacyContext;

// Text numbers of the older units' messages and question.
inline constexpr int kTextWrongPassword = 158;
inline constexpr int kTextNoAnswer = 162;    // %s: the unit
inline constexpr int kTextReadFailed = 163;  // %s: the unit
inline constexpr int kTextConfirmSend = 255;
inline constexpr int kTextOlderReadDone = kMsgReadDone;
inline constexpr int kTextWriteFailed = 257;  // %s: the unit
inline constexpr int kTextOlderWriteDone = kMsgWriteDone;

inline constexpr int kPasswordAttempts = 5;

// The laundry unit's configuration (command 0xD2 with the password) into the document's legacy
// image, and from software 1.10 its program names and comments. A read that breaks off changes
// nothing in the document.
OperationResult readOlderLaundry(LegacyContext& context);

// The document's legacy image (and from 1.10 its names and comments) into the unit, after the
// engineer confirmed and gave the password (command 0xDC).
OperationResult writeOlderLaundry(LegacyContext& context);

// The third password command (0xE6), after the engineer confirmed; no data follows it.
OperationResult sendThirdPasswordCommand(LegacyContext& context);

// A dishwash unit's settings (command 0x7A, no password) into the document's dishwash record,
// its customer lines, PINs and (from 1.10) comments; the document becomes a dishwash unit's.
OperationResult readOlderDishwash(LegacyContext& context);

// The dishwash unit's settings compared with the document's dishwash record; every difference
// goes into the result, and verified says whether there were none.
OperationResult verifyOlderDishwash(LegacyContext& context);

// The laundry unit's own usage totals (command 0xF2), as a usage report of the unit: no date
// range and no shifts.
OperationResult readOlderUsage(LegacyContext& context, UnitReport& report);

// The text the unit prints about its memory (command 0xFE), line by line.
OperationResult readOlderTextDump(LegacyContext& context, std::vector<std::string>& lines);

// The spare laundry byte (command 0xF8) of a unit of software 1.10 or later; an earlier unit is
// not asked at all.
OperationResult writeSpareLaundryByte(LegacyContext& context, std::uint8_t value);

// "pump 2 speed: unit 75, document 100", for a difference an older unit's verify found.
std::string olderDifferenceLine(const protocol::Difference& difference);

}  // namespace qelto::comms
