#include "app/comms/comms_worker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <chrono>

namespace qelto::app {

CommsWorker::~CommsWorker() {
    if (!thread_.joinable()) {
        return;
    }
    while (running_) {
        QCoreApplication::removePostedEvents(owner_, QEvent::MetaCall);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    thread_.join();
}

bool CommsWorker::start(std::function<void()> work, std::function<void()> done) {
    if (busy_) {
        return false;
    }
    if (thread_.joinable()) {
        thread_.join();  // the previous work has already reported back
    }
    busy_ = true;
    running_ = true;
    thread_ = std::thread([this, work = std::move(work), done = std::move(done)]() mutable {
        work();
        QMetaObject::invokeMethod(
            owner_,
            [this, done = std::move(done)] {
                busy_ = false;
                thread_.join();
                if (done) {
                    done();
                }
            },
            Qt::QueuedConnection);
        running_ = false;
    });
    return true;
}

}  // namespace qelto::app
