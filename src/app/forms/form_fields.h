// Small pieces every form of this folder builds from: catalog texts as QStrings, record texts
// (Latin-1 bytes) in and out of widgets, and number boxes that refuse what a field cannot hold.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "model/config_fields.h"
#include "platform/language_catalog.h"

class QSpinBox;
class QWidget;

namespace qelto::app::forms {

QString catalogText(const platform::LanguageCatalog& texts, int id);

// Record texts are Latin-1 bytes; widgets speak Unicode.
QString fromRecordText(std::string_view latin1);
std::string toRecordText(const QString& text);

// A number box for min..max. Typing a value outside the range is refused: the box keeps its
// previous value, so the record never receives what the unit cannot store.
QSpinBox* numberBox(int min, int max, QWidget* parent = nullptr);
// The same for the range one of the record's fields has.
QSpinBox* numberBox(const model::FieldInfo& field, QWidget* parent = nullptr);

// Minutes and seconds side by side, as the units show a time.
QWidget* minSecPair(QSpinBox* minutes, QSpinBox* seconds, QWidget* parent = nullptr);

}  // namespace qelto::app::forms
