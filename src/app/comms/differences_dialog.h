// Every setting a verify found different between the unit and the document, one row each.
#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

#include "comms/differences.h"
#include "platform/language_catalog.h"

class QTreeWidget;

namespace qelto::app {

class DifferencesDialog final : public QDialog {
    Q_OBJECT

  public:
    // The two value columns are "Unit" and "Document" unless sides names them otherwise (two
    // entries of the unit history).
    DifferencesDialog(const platform::LanguageCatalog& texts,
                      const std::vector<comms::Difference>& differences, QWidget* parent = nullptr,
                      const QStringList& sides = {});

    QTreeWidget* list() const { return list_; }

  private:
    QTreeWidget* list_;
};

// Where a difference is: "Program 3, Trigger 2, Pump 1", empty for unit-wide settings.
QString differencePlace(const platform::LanguageCatalog& texts,
                        const comms::Difference& difference);

}  // namespace qelto::app
