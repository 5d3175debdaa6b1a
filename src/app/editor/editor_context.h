// What the editor pane's parts share: the document, the texts, the current position in the
// programs and the pump controls the unit type allows.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "model/qelto_doc.h"
#include "model/selection.h"
#include "model/unit_type_change.h"
#include "platform/language_catalog.h"

namespace qelto::app {

struct EditorContext {
    EditorContext(model::CQeltoDoc& document, const platform::LanguageCatalog& catalog)
        : doc(document), texts(catalog) {}

    model::CQeltoDoc& doc;
    const platform::LanguageCatalog& texts;
    model::Selection selection;
    model::UnitTypeRules rules;
    model::UnitTypeControls controls;
    bool american = false;  // "Language" 8: doses as hundredths

    model::CProgData& config() { return doc.config(); }
    QString text(int id) const { return QString::fromStdString(texts.text(id)); }
    // Pumps and triggers the unit type shows, bounded to what the record holds.
    unsigned pumpCount() const;
    unsigned triggerCount() const;
};

// Record texts are Latin-1 bytes; widgets speak Unicode.
QString fromRecord(std::string_view latin1);
std::string toRecord(const QString& text);

}  // namespace qelto::app
