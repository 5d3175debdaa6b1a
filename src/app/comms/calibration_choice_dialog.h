// Before a write: the calibration of every pump as the unit and the editor hold it, side by
// side, for the engineer to pick which one the unit keeps.
#pragma once

#include <QDialog>

#include "comms/operator_prompts.h"
#include "platform/language_catalog.h"

class QRadioButton;
class QTableWidget;

namespace qelto::app {

class CalibrationChoiceDialog final : public QDialog {
    Q_OBJECT

  public:
    CalibrationChoiceDialog(const platform::LanguageCatalog& texts,
                            const comms::CalibrationComparison& comparison,
                            QWidget* parent = nullptr);

    // comms::kChooseEditorCalibration or comms::kChooseUnitCalibration.
    int choice() const;
    QTableWidget* table() const { return table_; }

  private:
    QTableWidget* table_;
    QRadioButton* keepUnit_;
    QRadioButton* writeEditor_;
};

}  // namespace qelto::app
