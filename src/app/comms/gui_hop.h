// A call from a worker thread that needs the GUI thread (a question, a dialog) hops over and
// waits for its answer.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace qelto::app {

// Runs ask on target's thread and returns its answer. When the call is dropped unanswered (the
// target went away, or its owner removed the posted call while closing) the worker is released
// with fallback.
template <typename Result, typename Ask>
Result callOnGuiThread(QObject* target, Result fallback, Ask&& ask) {
    if (target == nullptr) {
        return fallback;
    }
    if (QThread::currentThread() == target->thread()) {
        return ask();
    }
    Result result = fallback;
    QMetaObject::invokeMethod(
        target, [&result, &ask] { result = ask(); }, Qt::BlockingQueuedConnection);
    return result;
}

}  // namespace qelto::app
