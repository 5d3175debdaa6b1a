// The window's one way of doing unit work off the GUI thread: one piece of work at a time on a
// thread of its own, so the window keeps drawing and Cancel keeps working while a unit is slow to
// answer; its outcome comes back on the GUI thread. The communications dialog, the calibration
// sheet and the older units' commands all run their work through it.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <type_traits>
#include <utility>

namespace qelto::app {

class WorkerThread final : public QObject {
    Q_OBJECT

  public:
    // The outcome is posted to owner, and the work's questions hop to owner's thread through it
    // (see callOnGuiThread); owner must outlive the worker.
    explicit WorkerThread(QObject* owner);
    // Waits for the work. Calls it posted to owner meanwhile are dropped: a worker waiting for an
    // answer is released with the question's fallback, and done never runs.
    ~WorkerThread() override;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs work on the worker thread, then done on the GUI thread with work's result (when it has
    // one). False, and nothing runs, while earlier work has not reported back.
    template <typename Work, typename Done>
    bool start(Work work, Done done);

    bool busy() const { return busy_; }

  Q_SIGNALS:
    void busyChanged(bool busy);

  private:
    bool launch(std::function<void()> work, std::function<void()> done);

    QObject* owner_;
    std::thread thread_;
    bool busy_ = false;                 // GUI thread: until done has run
    std::atomic<bool> running_{false};  // until the work has returned and posted done
};

template <typename Work, typename Done>
bool WorkerThread::start(Work work, Done done) {
    using Result = std::invoke_result_t<Work&>;
    if constexpr (std::is_void_v<Result>) {
        return launch(std::move(work), std::move(done));
    } else {
        auto result = std::make_shared<std::optional<Result>>();
        return launch([work = std::move(work), result]() mutable { result->emplace(work()); },
                      [done = std::move(done), result]() mutable { done(std::move(**result)); });
    }
}

}  // namespace qelto::app
