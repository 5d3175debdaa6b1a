#include "app/calibration/sheet_worker.h"

#include <QMetaObject>

namespace qelto::app {

SheetWorker::~SheetWorker() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool SheetWorker::start(Work work, Done done) {
    if (busy_) {
        return false;
    }
    if (thread_.joinable()) {
        thread_.join();  // it has reported back already
    }
    busy_ = true;
    done_ = std::move(done);
    Q_EMIT busyChanged(true);
    thread_ = std::thread([this, work = std::move(work)] {
        const comms::CalibrationResult result = work();
        QMetaObject::invokeMethod(
            this, [this, result] { finish(result); }, Qt::QueuedConnection);
    });
    return true;
}

void SheetWorker::finish(const comms::CalibrationResult& result) {
    thread_.join();
    busy_ = false;
    Done done = std::move(done_);
    done_ = nullptr;
    Q_EMIT busyChanged(false);
    if (done) {
        done(result);
    }
}

}  // namespace qelto::app
