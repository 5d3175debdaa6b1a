// The pump calibration sheet: the calibration page, and with a unit connected the resets page.
// With a unit, the unit's values are read as the sheet opens; without one, the editor's.
#pragma once

#include <QDialog>
#include <memory>

#include "app/calibration/calibration_sheet_runner.h"
#include "app/calibration/sheet_prompts.h"
#include "app/comms/worker_thread.h"

class QTabWidget;

namespace qelto::app {

class PumpCalibratePage;
class ResetsPage;

class CalibrationSheet final : public QDialog {
    Q_OBJECT

  public:
    // prompts null: message boxes over the sheet.
    CalibrationSheet(const CalibrationSheetSetup& setup, SheetPrompts* prompts = nullptr,
                     QWidget* parent = nullptr);
    ~CalibrationSheet() override;

    PumpCalibratePage& calibrationPage() { return *calibration_; }
    ResetsPage* resetsPage() { return resets_; }
    QTabWidget& tabs() { return *tabs_; }
    bool busy() const { return worker_.busy(); }

    // Escape and Close end a run first (telling the unit to stop the pump); the sheet itself
    // closes only once no unit work is under way.
    void reject() override;

  private:
    std::unique_ptr<DialogSheetPrompts> ownPrompts_;
    SheetPrompts& prompts_;
    WorkerThread worker_{this};
    QTabWidget* tabs_ = nullptr;
    PumpCalibratePage* calibration_ = nullptr;
    ResetsPage* resets_ = nullptr;
};

}  // namespace qelto::app
