#include "app/forms/legacy_operation_runner.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <chrono>

namespace qelto::app::forms {

LegacyOperationRunner::LegacyOperationRunner(const platform::LanguageCatalog& texts, QWidget* owner)
    : owner_(owner), prompts_(texts, owner) {}

LegacyOperationRunner::~LegacyOperationRunner() {
    if (!worker_.joinable()) {
        return;
    }
    prompts_.abandon();
    // A question the worker posted just before it was abandoned would wait for ever; dropping
    // the posted call releases the worker with the cancel answer.
    while (running_) {
        QCoreApplication::removePostedEvents(owner_, QEvent::MetaCall);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    worker_.join();
}

bool LegacyOperationRunner::start(Work work, Done done) {
    if (busy_) {
        return false;
    }
    if (worker_.joinable()) {
        worker_.join();  // the previous one has already reported back
    }
    busy_ = true;
    running_ = true;
    done_ = std::move(done);
    worker_ = std::thread([this, work = std::move(work)] {
        const legacy::LegacyOutcome outcome = work(prompts_);
        QMetaObject::invokeMethod(
            this, [this, outcome] { finish(outcome); }, Qt::QueuedConnection);
        running_ = false;
    });
    return true;
}

void LegacyOperationRunner::finish(legacy::LegacyOutcome outcome) {
    busy_ = false;
    worker_.join();
    Done done = std::move(done_);
    done_ = nullptr;
    if (done) {
        done(outcome);
    }
}

}  // namespace qelto::app::forms
