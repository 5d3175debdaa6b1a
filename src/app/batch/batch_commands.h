// The Batch menu: the user log-in that opens it, the batch setup, the batch password that arms
// the counter reset of the batch's writes, and writing the next unit of the batch.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "comms/batch_paths.h"
#include "comms/operation_driver.h"

class QAction;

namespace qelto::app {

class BatchDialogPrompts;
class MainWindow;
class ShellPrompts;
struct ShellContext;

// Runs a core operation on a unit through the communications dialog (operation code 320..324);
// nullopt when it never started.
using RunOnUnit = std::function<std::optional<comms::OperationResult>(
    int operationCode, std::function<comms::OperationResult(comms::OperationContext&)>)>;

// Parented to the window, which deletes it: create it with new.
class BatchCommands : public QObject {
    Q_OBJECT

  public:
    BatchCommands(MainWindow& window, ShellContext& context, ShellPrompts& prompts);
    ~BatchCommands() override;

    void setRunOnUnit(RunOnUnit run) { run_ = std::move(run); }
    // Tests answer the dialogs' questions; the window uses message boxes.
    void setDialogPrompts(BatchDialogPrompts* prompts);
    // Tests fix the clock and the program folder the job files are found by.
    void setEnvironment(comms::BatchEnvironment environment) {
        environment_ = std::move(environment);
    }

    const QString& userName() const { return user_; }

    // The commands, each as its menu entry runs it; false when it ended without effect.
    bool logIn();
    bool setUp();
    bool enterPassword();
    bool writeNextUnit();

  private:
    QAction* action(const char* name) const;
    void openCommands();

    MainWindow& window_;
    ShellContext& context_;
    ShellPrompts& prompts_;
    std::unique_ptr<BatchDialogPrompts> ownPrompts_;
    BatchDialogPrompts* dialogPrompts_;
    comms::BatchEnvironment environment_;
    RunOnUnit run_;
    QString user_;
    // Armed by the batch password: the batch's writes of this session clear each unit's counters.
    bool resetCounters_ = false;
};

}  // namespace qelto::app
