// The resets page of the calibration sheet: clearing a unit's wash counts or its counters.
#pragma once

#include <QWidget>

#include "app/calibration/sheet_prompts.h"
#include "app/comms/worker_thread.h"
#include "comms/calibration_session.h"
#include "platform/language_catalog.h"

class QPushButton;

namespace qelto::app {

class ResetsPage final : public QWidget {
    Q_OBJECT

  public:
    ResetsPage(const platform::LanguageCatalog& texts, comms::CalibrationSession& unit,
               WorkerThread& worker, SheetPrompts& prompts, QWidget* parent = nullptr);

    // The resets wait while a pump runs.
    void setRunActive(bool active);

  protected:
    // The third button and its note are never offered: they go as soon as the page shows.
    void showEvent(QShowEvent* event) override;

  private:
    QString text(int id) const;
    void run(comms::CalibrationResult (comms::CalibrationSession::*reset)());
    void updateEnabling();

    const platform::LanguageCatalog& texts_;
    comms::CalibrationSession& unit_;
    WorkerThread& worker_;
    SheetPrompts& prompts_;
    QPushButton* washes_ = nullptr;
    QPushButton* counters_ = nullptr;
    QPushButton* resetAll_ = nullptr;
    QWidget* resetAllNote_ = nullptr;
    bool runActive_ = false;
};

}  // namespace qelto::app
