// The operations an engineer starts on a connected unit, each as one blocking sequence of unit
// operations: which Gets and Sets run, in which order, under which options, what the engineer
// sees meanwhile and which closing message ends it. Whatever must be asked or shown goes through
// OperatorPrompts; the driver itself never prints.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "comms/operator_prompts.h"
#include "model/qelto_doc.h"
#include "protocol/comms_data.h"
#include "protocol/packet_link.h"
#include "protocol/unit_channel.h"
#include "protocol/verify.h"

namespace qelto::comms {

// Status lines by string number.
inline constexpr int kStatusPumpCalibration = 406;
inline constexpr int kStatusProgramData = 408;
inline constexpr int kStatusComments = 409;
inline constexpr int kStatusProgramNames = 410;
inline constexpr int kStatusPumpNames = 240;

// Closing messages of a program read.
inline constexpr int kMsgReadDone = 256;
inline constexpr int kMsgReadFailed = 361;
inline constexpr int kMsgReadCommentsCut = 367;

// Closing messages and questions of a program write.
inline constexpr int kMsgWriteDone = 258;
inline constexpr int kMsgWriteFailed = 362;
inline constexpr int kMsgCalibrationMismatch = 389;
inline constexpr int kMsgUnitTypeMismatch = 2588;
inline constexpr int kAskVerifyText = 401;
inline constexpr int kAskVerifyCaption = 402;
inline constexpr int kMsgResetToUnsupported = 434;
inline constexpr int kMsgResetToUnsupportedCaption = 433;
inline constexpr int kMsgValuesBeyondUnit = 2600;

// The backup read before a write failed: whether to write anyway, and what a refusal says.
inline constexpr int kAskWriteWithoutBackup = 3067;
inline constexpr int kMsgWriteRefusedNoBackup = 3068;
inline constexpr int kStatusReadingForHistory = 3089;
// The unit that answered is not the one the operation is for (%1 the unit, %2 the one wanted).
inline constexpr int kMsgOtherUnitAnswered = 3082;

// What the unit clock shows when the unit has none (or did not say).
using protocol::kNoClockText;

// Closing messages of the clock commands: a clock read says what the clock shows (%1), a clock
// set says what it was set to, neither speaks of the document.
inline constexpr int kMsgClockRead = 3062;
inline constexpr int kMsgClockSet = 3063;

// Closing messages of a verify.
inline constexpr int kMsgVerifyMatched = 342;
inline constexpr int kMsgVerifyMismatch = 363;
inline constexpr int kMsgVerifyNotCompared = 2620;  // a part of the unit could not be read

enum class OperationStatus {
    Ok,
    Failed,     // some step failed; the closing message says so
    Cancelled,  // the engineer cancelled a prompt or the link; no closing message
};

struct OperationResult {
    OperationStatus status = OperationStatus::Ok;
    int closingMessage = 0;  // the string number shown at the end, 0 when none
    // The closing message as shown, when values were put into its text ("The unit clock reads
    // 09:41:05 - 15/03/2019."); empty when the text of closingMessage stands as it is.
    std::string closingText = {};
    // Whether the final lock was acknowledged; when not, the connection locks once more as it
    // closes, so a unit is never left open to changes.
    bool unitLocked = false;
    // A verify (on its own or after a write): whether it ran to the end with everything matching,
    // and every difference it found, for the caller to show. Empty when no verify ran.
    std::optional<bool> verified;
    std::vector<protocol::Difference> differences;
    // A verify that could not read a part of the unit ("program names"): that part and the ones
    // after it were not compared. Empty when every part asked for was read.
    std::string notCompared;
};

// What every operation works with. The link has been opened and the unit unlocked by the
// connection; data is the connection's communications record (its remembered PIN included).
struct OperationContext {
    model::CQeltoDoc& doc;
    protocol::PacketLink& link;
    protocol::CommsData& data;
    OperatorPrompts& prompts;
    TextLookup text;
    int language = 1;  // the application's language setting
    // Tells every view to refresh (the document's hints); empty when nothing shows the document.
    std::function<void(model::DocHint)> refreshViews;
    // The PC clock the unit is set from and calibrations are dated with, and the pause between
    // keep-alive polls; tests pass fixed ones.
    protocol::LocalClock clock = protocol::realLocalTime;
    protocol::SleepFunction sleep = protocol::realSleep;
    // A write of a batch clears the unit's counters, so a new unit leaves with no history; no
    // other write does. It is sent only once the calibration check has passed.
    bool resetCounters = false;
    // A write calls it once, after its questions and checks and before its first change to the
    // unit (the unit history reads the unit here); false stops the write with nothing changed.
    std::function<bool()> beforeChanges = {};
};

// Reads the unit into the document under the options the engineer picks. With clockOnly set
// (the clock button of the global settings) no options are asked and only the unit clock is
// read; the flag is cleared, since it belongs to this one operation. A failed read of one part
// leaves that part of the document alone and the rest of the read goes on.
OperationResult readProgram(OperationContext& context, bool& clockOnly);

// Reads everything the unit holds into the context's document without asking anything, showing
// a closing message or locking the unit: the history's copy of a unit about to be written.
OperationResult readForBackup(OperationContext& context);

// Writes the document into the unit under the options the engineer picks. With clockOnly set only
// the unit clock is set from the PC's. The first failed write stops every later one; the unit is
// locked again whatever happened, and a failure is never reported as success. When the engineer
// answers yes to the verify question, the unit is verified under the same options.
OperationResult writeProgram(OperationContext& context, bool& clockOnly);

// Compares the unit with the document under the options the engineer picks, and lists every
// difference found.
OperationResult verifyProgram(OperationContext& context);

}  // namespace qelto::comms
