// The nine document formats and what each one carries.
#pragma once

#include <string_view>

namespace qelto::model {

struct DocumentFormat {
    const char* tag;
    int number;
    bool oldFormat;    // formats 1 to 4: the user is told and the next save converts
    bool firstFormat;  // "QDoc"
    bool hasDishWash;  // format 2 and later
    bool names;        // format 3 and later: comments, program names, dishwash texts
    bool tenPumps;     // format 4 and later: ten pumps, pump names, full legacy image, doses
    bool flushType;    // format 5 and later
    bool extension;    // format 6 and later
    bool pulseFix;     // format 7 and later
    bool description;  // format 8 and later
    bool resetTo;      // format 9 and later
};

// The format whose tag equals tag exactly (case and length), or nullptr.
const DocumentFormat* findDocumentFormat(std::string_view tag);

// The format every save writes.
const DocumentFormat& currentDocumentFormat();

}  // namespace qelto::model
