// Moves one part of the communications record at a time between the unit's side and ours: the
// configuration being edited (before a write or a verify, and after each Get of a program read)
// and the communications copy (after each Get of a report read, so a report never touches the
// engineer's document). The option names the part; an option without a rule does nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/comms_copy.h"
#include "model/prog_data.h"
#include "protocol/comms_data.h"

namespace qelto::protocol {

enum CommsOption : int {
    COMMS_GLOBALS = 0,
    COMMS_CALIBRATION = 1,
    COMMS_PROGDATA = 2,
    COMMS_PROGNAME = 3,
    COMMS_CUSTNAME = 4,
    COMMS_PUMPNAME = 5,
    COMMS_COMMENTS = 6,
    COMMS_SERIALNO = 7,  // the document's two serial texts, for SetUnitSerialNumber
    COMMS_ACK = 8,       // the unit's identity
    COMMS_UNITNAME = 9,  // the unit description
    COMMS_AUTOFS = 10,
    COMMS_RESETTO = 12,
    COMMS_UNITTIME = 13,  // read only: the unit clock text
};

// What the translation needs from outside the two records, and what it hands back that has no
// field in them.
struct TranslationContext {
    // The application's "Language" setting (1 English ... 10 Portuguese); decides the language
    // code the globals carry to the unit.
    int language = 1;
    // Whether the unit's software is 1.0.7 or newer: older units know no Portuguese.
    bool software107OrNewer = false;
    // Where the unit clock text goes on a program read. The driver points it at the
    // communications copy's UnitTimeText, so a program read and a report read leave the clock in
    // the same place; null drops it.
    std::string* unitTimeText = nullptr;
    // Set when a program read took a unit type: the pump count of that type, for the document.
    std::optional<std::uint8_t> pumpCount;
};

// The configuration record to the communications record, before a write or a verify.
void GetFromDocumentView(const model::CProgData& config, CommsData& data, int option,
                         const TranslationContext& context);

// The communications record to the configuration record, after a Get of a program read. Values
// the unit cannot be trusted for (steps of disabled pumps, pulse counts of unused triggers) stay
// as the document had them.
void UpdateDocumentView(const CommsData& data, model::CProgData& config, int option,
                        TranslationContext& context);

// The communications record to the communications copy, after a Get of a report read. The
// configuration record is written for two things only: SafetyStopMode and unitDescription.
void UpdateCommsData(const CommsData& data, model::CommsCopy& copy, model::CProgData& config,
                     int option);

// The unit's language code for an application language; 0 (English) for any language the unit
// does not know.
std::uint8_t unitLanguageCode(int applicationLanguage, bool software107OrNewer);

// The unit serial number of a serial text: the leading decimal digits, read up to the first
// other character (no digits give 0). A number beyond 32 bits is held at 4294967295, as the C
// library's strtoul would, rather than wrapped into an unrelated serial.
std::uint32_t unitSerialFromText(std::string_view text);

// The comment blocks read back into one text; only the first `count` blocks (at most 100) count.
std::string commentsText(const CommentsPart& comments);

}  // namespace qelto::protocol
