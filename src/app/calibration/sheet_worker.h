// Runs the calibration sheet's unit work, one piece at a time, on a thread of its own, so the
// sheet keeps drawing and answering while the unit is slow. The result comes back on the GUI
// thread.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <thread>

#include "comms/calibration_session.h"

namespace qelto::app {

class SheetWorker final : public QObject {
    Q_OBJECT

  public:
    using Work = std::function<comms::CalibrationResult()>;
    using Done = std::function<void(const comms::CalibrationResult&)>;

    explicit SheetWorker(QObject* parent = nullptr) : QObject(parent) {}
    // Waits for the piece of work that is running.
    ~SheetWorker() override;

    // False when work is running already. done runs on the GUI thread.
    bool start(Work work, Done done);
    bool busy() const { return busy_; }

  Q_SIGNALS:
    void busyChanged(bool busy);

  private:
    void finish(const comms::CalibrationResult& result);

    std::thread thread_;
    Done done_;
    bool busy_ = false;
};

}  // namespace qelto::app
