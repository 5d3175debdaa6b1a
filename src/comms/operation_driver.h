// The operations an engineer starts on a connected unit, each as one blocking sequence of unit
// operations: which Gets and Sets run, in which order, under which options, what the engineer
// sees meanwhile and which closing message ends it. Whatever must be asked or shown goes through
// OperatorPrompts; the driver itself never prints.
#pragma once

#include <functional>
#include <string>

#include "comms/operator_prompts.h"
#include "model/qelto_doc.h"
#include "protocol/comms_data.h"
#include "protocol/packet_link.h"

namespace qelto::comms {

// The text of a string number in the engineer's language.
using TextLookup = std::function<std::string(int)>;

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

enum class OperationStatus {
    Ok,
    Failed,     // some step failed; the closing message says so
    Cancelled,  // the engineer cancelled a prompt or the link; no closing message
};

struct OperationResult {
    OperationStatus status = OperationStatus::Ok;
    int closingMessage = 0;  // the string number shown at the end, 0 when none
    // Whether the final lock was acknowledged; when not, the connection locks once more as it
    // closes, so a unit is never left open to changes.
    bool unitLocked = false;
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
};

// Reads the unit into the document under the options the engineer picks. With clockOnly set
// (the clock button of the global settings) no options are asked and only the unit clock is
// read; the flag is cleared, since it belongs to this one operation. A failed read of one part
// leaves that part of the document alone and the rest of the read goes on.
OperationResult ReadProgram(OperationContext& context, bool& clockOnly);

}  // namespace qelto::comms
