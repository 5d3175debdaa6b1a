#include "app/batch/batch_commands.h"

#include <QAction>
#include <QMenu>
#include <QStatusBar>
#include <array>
#include <utility>

#include "app/batch/batch_dialog_prompts.h"
#include "app/batch/batch_password_dialog.h"
#include "app/batch/batch_setup_dialog.h"
#include "app/batch/batch_texts.h"
#include "app/batch/user_login_dialog.h"
#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"
#include "app/shell/shell_prompts.h"
#include "comms/batch_log.h"
#include "comms/batch_progress.h"
#include "comms/batch_unit_write.h"

namespace qelto::app {
namespace {

constexpr int kWriteProgramOperation = 321;

QString serialText(std::uint32_t serial) {
    return QStringLiteral("%1").arg(serial, 9, 10, QLatin1Char('0'));
}

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

BatchCommands::BatchCommands(MainWindow& window, ShellContext& context, ShellPrompts& prompts)
    : QObject(&window),
      window_(window),
      context_(context),
      prompts_(prompts),
      ownPrompts_(std::make_unique<MessageBoxBatchPrompts>(&window)),
      dialogPrompts_(ownPrompts_.get()),
      environment_(comms::realBatchEnvironment()) {
    QAction* setup = action("batchSetup");
    if (setup != nullptr) {
        for (QObject* owner : setup->associatedObjects()) {
            if (auto* menu = qobject_cast<QMenu*>(owner)) {
                QAction* next = menu->addAction(context_.text(text::kBatchWriteNext));
                next->setObjectName(QStringLiteral("batchWriteNext"));
                next->setEnabled(false);
                break;
            }
        }
    }
    const std::array<std::pair<const char*, bool (BatchCommands::*)()>, 4> commands{{
        {"batchLogIn", &BatchCommands::logIn},
        {"batchSetup", &BatchCommands::setUp},
        {"batchPassword", &BatchCommands::enterPassword},
        {"batchWriteNext", &BatchCommands::writeNextUnit},
    }};
    for (const auto& entry : commands) {
        if (QAction* found = action(entry.first)) {
            // A plain copy, not a structured binding: clang 14 cannot capture those.
            const auto command = entry.second;
            connect(found, &QAction::triggered, this, [this, command] { (this->*command)(); });
        }
    }
    if (QAction* login = action("batchLogIn")) {
        login->setEnabled(true);
    }
}

BatchCommands::~BatchCommands() = default;

void BatchCommands::setDialogPrompts(BatchDialogPrompts* prompts) {
    dialogPrompts_ = prompts != nullptr ? prompts : ownPrompts_.get();
}

QAction* BatchCommands::action(const char* name) const {
    return window_.findChild<QAction*>(QString::fromLatin1(name));
}

void BatchCommands::openCommands() {
    for (const char* name : {"batchSetup", "batchPassword", "batchWriteNext"}) {
        if (QAction* found = action(name)) {
            found->setEnabled(true);
        }
    }
}

bool BatchCommands::logIn() {
    UserLoginDialog dialog(context_.language, *dialogPrompts_, user_, &window_);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    user_ = dialog.userName();
    openCommands();
    return true;
}

bool BatchCommands::setUp() {
    if (!logIn()) {
        dialogPrompts_->beep();
        return false;
    }
    BatchSetupDialog dialog(context_.language, *dialogPrompts_, context_.store, context_.config,
                            environment_, user_, &window_);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    // The window's copy follows what the form stored; only the store is saved from, though.
    const platform::Settings stored = context_.store.load();
    context_.settings.batchName = stored.batchName;
    context_.settings.batchSize = stored.batchSize;
    context_.settings.batchCounter = stored.batchCounter;
    context_.settings.logDirectory = stored.logDirectory;
    return true;
}

bool BatchCommands::enterPassword() {
    if (!logIn()) {
        return false;
    }
    BatchPasswordDialog dialog(context_.language, *dialogPrompts_, &window_);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    // Armed for the units written with "write next unit" in this session only: an ordinary
    // write, such as a service visit to a customer's unit, never clears its counters.
    resetCounters_ = true;
    prompts_.inform(&window_, context_.text(text::kBatchCounterResetArmed));
    return true;
}

bool BatchCommands::writeNextUnit() {
    const platform::Settings settings = context_.store.load();
    const QString job = qs(settings.batchName);
    if (settings.batchName.empty() || settings.batchSize == 0) {
        prompts_.warn(&window_, context_.text(text::kBatchNotSetUp));
        return false;
    }
    if (!comms::jobNameProblem(settings.batchName).empty()) {
        prompts_.warn(&window_, context_.text(text::kBatchJobNameUnusable).arg(job));
        return false;
    }
    if (settings.batchCounter >= settings.batchSize) {
        prompts_.warn(&window_, context_.text(text::kBatchComplete)
                                    .arg(job, QString::number(settings.batchCounter),
                                         QString::number(settings.batchSize)));
        return false;
    }
    if (!run_) {
        prompts_.warn(&window_, context_.text(text::kBatchNoUnitCommands));
        return false;
    }
    const std::string path = comms::batchJobFile(settings, environment_);
    std::string error;
    // Made before the unit is touched: a unit written without its line would be a unit the
    // order's records do not know.
    if (!comms::JobFile::open(path, &error)) {
        prompts_.warn(&window_,
                      context_.text(text::kBatchJobFileUnusable).arg(qs(path), qs(error)));
        return false;
    }

    window_.statusBar()->showMessage(context_.text(text::kBatchWriting)
                                         .arg(QString::number(settings.batchCounter + 1),
                                              QString::number(settings.batchSize), job));
    window_.setProgress(static_cast<int>(100ULL * settings.batchCounter / settings.batchSize));
    // Only a unit verified after its write counts: a batch leaves the works as a set of units
    // known to hold the document.
    const comms::BatchUnitRequest request{
        settings.batchName, path, user_.toStdString(), true, environment_, resetCounters_};
    const comms::BatchUnitReport report = comms::writeBatchUnit(
        request, context_.store, [this](const comms::BatchOperation& operation) {
            return run_(kWriteProgramOperation, operation);
        });
    window_.statusBar()->showMessage(context_.text(text::kReady));

    if (!report.result) {
        prompts_.warn(&window_, context_.text(text::kBatchNothingWritten).arg(qs(path)));
        return false;
    }
    const QString serial = serialText(report.unit.serial);
    const QString outcome = qs(report.outcome);
    if (!report.recorded) {
        prompts_.warn(
            &window_,
            context_.text(text::kBatchNotRecorded).arg(serial, outcome, qs(report.error)));
        return false;
    }
    context_.settings.batchCounter = report.progress.counter;
    window_.setProgress(
        report.progress.size == 0
            ? 0
            : static_cast<int>(100ULL * report.progress.counter / report.progress.size));
    if (report.countedBefore && report.outcome == comms::kBatchResultOk) {
        prompts_.warn(&window_, context_.text(text::kBatchUnitCountedBefore)
                                    .arg(serial, qs(path), QString::number(report.progress.counter),
                                         QString::number(report.progress.size)));
        return false;
    }
    if (!report.counted()) {
        prompts_.warn(&window_,
                      context_.text(text::kBatchUnitNotCounted)
                          .arg(serial, outcome, qs(path), QString::number(report.progress.counter),
                               QString::number(report.progress.size)));
        return false;
    }
    QString done = context_.text(text::kBatchUnitWritten)
                       .arg(serial, QString::number(report.progress.counter),
                            QString::number(report.progress.size), job);
    if (report.progress.complete()) {
        done += QLatin1Char('\n') + context_.text(text::kBatchNowComplete).arg(job);
    }
    prompts_.inform(&window_, done);
    return true;
}

}  // namespace qelto::app
