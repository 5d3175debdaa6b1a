// What the engineer chose to move in a read, a write or a verify: nine flags, in the order the
// options dialogs and callers hand them down. Each operation gives the flags its own meaning.
#pragma once

namespace qelto::comms {

struct Options {
    bool bPumpNames = false;
    bool bProgNames = false;
    bool bPumpCal = false;
    bool bPumpData = false;  // globals, program data, reset-to, customer name, automatic flush
    bool bComments = false;
    bool bAppendComments = false;  // read: the document's comments go in front of the unit's
    bool bSerialNo = false;
    bool bSpare = false;  // no operation uses it; kept so callers can hand the flags on unchanged
    bool bDescription = false;
    friend bool operator==(const Options&, const Options&) = default;
};

// Every flag set: what a full read or write asks for.
inline Options allOptions() {
    return {true, true, true, true, true, true, true, true, true};
}

}  // namespace qelto::comms
