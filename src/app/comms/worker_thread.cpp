#include "app/comms/worker_thread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <chrono>

namespace qelto::app {

WorkerThread::WorkerThread(QObject* owner) : owner_(owner) {}

WorkerThread::~WorkerThread() {
    if (!thread_.joinable()) {
        return;
    }
    while (running_) {
        QCoreApplication::removePostedEvents(owner_, QEvent::MetaCall);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    QCoreApplication::removePostedEvents(owner_, QEvent::MetaCall);
    thread_.join();
}

bool WorkerThread::launch(std::function<void()> work, std::function<void()> done) {
    if (busy_) {
        return false;
    }
    if (thread_.joinable()) {
        thread_.join();  // the previous work has already reported back
    }
    busy_ = true;
    running_ = true;
    Q_EMIT busyChanged(true);
    thread_ = std::thread([this, work = std::move(work), done = std::move(done)]() mutable {
        work();
        QMetaObject::invokeMethod(
            owner_,
            [this, done = std::move(done)] {
                thread_.join();
                busy_ = false;
                Q_EMIT busyChanged(false);
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
