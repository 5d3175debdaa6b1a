// What an older-unit operation works with: the legacy link the session opened on its serial port
// (at 9600 baud, with the session's cancel flag), the document, the prompts and the texts. Only
// comms sees it whole; the front ends hold it by reference.
#pragma once

#include <functional>

#include "comms/operation_driver.h"
#include "legacy/legacy_link.h"
#include "model/qelto_doc.h"

namespace qelto::comms {

struct LegacyContext {
    model::CQeltoDoc& doc;
    legacy::LegacyLink& link;
    OperatorPrompts& prompts;
    TextLookup text;
    // Tells the views the document changed; empty when nothing shows the document.
    std::function<void(model::DocHint)> refreshViews;
};

}  // namespace qelto::comms
