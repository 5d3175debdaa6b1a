// Runs the dialog's unit work (a scan, a pairing, an operation) on a thread of its own, one at a
// time, so the window keeps drawing and Cancel keeps working while a unit is slow to answer.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <thread>

namespace qelto::app {

class CommsWorker {
  public:
    // Calls posted back go to owner, which must outlive the worker.
    explicit CommsWorker(QObject* owner) : owner_(owner) {}
    // Waits for the work; calls it posted to owner meanwhile are dropped, which releases a
    // worker that waits for an answer.
    ~CommsWorker();
    CommsWorker(const CommsWorker&) = delete;
    CommsWorker& operator=(const CommsWorker&) = delete;

    // done runs on the GUI thread once work has returned. False while work is running.
    bool start(std::function<void()> work, std::function<void()> done);
    bool busy() const { return busy_; }

  private:
    QObject* owner_;
    std::thread thread_;
    bool busy_ = false;                 // GUI thread: until done has run
    std::atomic<bool> running_{false};  // until the work has returned
};

}  // namespace qelto::app
