// The pump calibration sheet as the communications dialog opens it: over a connected, unlocked
// unit, or over the editor's values alone when no unit is connected.
#pragma once

#include <QString>

#include "model/qelto_doc.h"
#include "platform/language_catalog.h"

class QWidget;

namespace qelto::comms {
class CalibrationSession;
}

namespace qelto::app {

struct CalibrationSheetSetup {
    model::CQeltoDoc& doc;
    const platform::LanguageCatalog& texts;
    bool americanMode = false;                  // "Language" setting 8
    comms::CalibrationSession* unit = nullptr;  // null: no unit, editor values only
    QString label;                              // "From Editor" or "<product> - <serial %09d>"
};

// Shows the sheet modally over parent and returns when the engineer closes it. With a unit, the
// sheet's unit work runs on its own worker thread over the session, which the caller keeps open
// (and the unit unlocked) until this returns.
void runCalibrationSheet(QWidget* parent, const CalibrationSheetSetup& setup);

}  // namespace qelto::app
