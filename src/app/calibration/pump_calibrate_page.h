// The calibration page of the sheet: speed, flow and a run button for each of ten pumps, the
// read/write/load/save buttons, and a measuring run that counts down on a timer while the window
// stays usable.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <chrono>

#include "app/calibration/sheet_prompts.h"
#include "app/comms/worker_thread.h"
#include "comms/calibration_session.h"
#include "comms/pump_calibration.h"
#include "model/qelto_doc.h"
#include "platform/language_catalog.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace qelto::app {

class PumpCalibratePage final : public QWidget {
    Q_OBJECT

  public:
    struct Setup {
        model::CQeltoDoc& doc;
        const platform::LanguageCatalog& texts;
        bool american = false;
        comms::CalibrationSession* unit = nullptr;
        WorkerThread& worker;
        SheetPrompts& prompts;
    };
    PumpCalibratePage(const Setup& setup, QWidget* parent = nullptr);

    // Shows these values and applies the enabling rules.
    void setPage(const comms::CalibrationPage& page);
    const comms::CalibrationPage& page() const { return page_; }

    void readFromUnit();
    void writeToUnit();
    void loadFromRecord();
    void saveToRecord();
    void startRun(int pump);
    // Ends a run before its time and tells the unit to stop the pump.
    void stopRun();
    bool running() const { return running_; }
    // Tests shorten the run.
    void setRunLength(std::chrono::milliseconds length) { runLength_ = length; }

    // Fields that lose the focus round their speed or take in their flow.
    bool eventFilter(QObject* watched, QEvent* event) override;

  Q_SIGNALS:
    // A measuring run began or ended; nothing else may be sent to the unit meanwhile.
    void runningChanged(bool running);

  private:
    QString text(int id) const;
    void showResult(const comms::CalibrationResult& result);
    void speedLeft(std::size_t pump);
    void flowLeft(std::size_t pump);
    void takeInFields();
    void showValues();
    void updateEnabling();
    void runTick();
    void endRun();

    model::CQeltoDoc& doc_;
    const platform::LanguageCatalog& texts_;
    bool american_;
    comms::CalibrationSession* unit_;
    WorkerThread& worker_;
    SheetPrompts& prompts_;
    comms::CalibrationPage page_;
    bool confirmSpeed_ = true;

    std::array<QLabel*, comms::kCalibrationPumps> numbers_{};
    std::array<QLineEdit*, comms::kCalibrationPumps> speeds_{};
    std::array<QLineEdit*, comms::kCalibrationPumps> flows_{};
    std::array<QPushButton*, comms::kCalibrationPumps> runs_{};
    QPushButton* read_ = nullptr;
    QPushButton* write_ = nullptr;
    QPushButton* load_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* stop_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* runStatus_ = nullptr;

    QTimer runTimer_;
    QElapsedTimer runClock_;
    std::chrono::milliseconds runLength_ = comms::kPumpRunLength;
    bool running_ = false;
};

}  // namespace qelto::app
