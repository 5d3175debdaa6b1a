#include "app/shell/window_commands.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>

#include "app/batch/batch_commands.h"
#include "app/comms/older_unit_dialog.h"
#include "app/comms/unit_commands.h"
#include "app/forms/legacy_laundry_form.h"
#include "app/report/report_commands.h"
#include "app/report/report_options_dialog.h"
#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"
#include "comms/legacy_operations.h"

namespace qelto::app {

WindowCommands::WindowCommands(MainWindow& window, ShellContext& context, ShellPrompts& prompts)
    : window_(window),
      context_(context),
      report_(std::make_unique<ReportCommands>(window, context, prompts)) {
    UnitCommandHooks hooks;
    hooks.askReportOptions = [&context](QWidget* parent) {
        return askReportOptionsDialog(parent, context.language);
    };
    ReportCommands* report = report_.get();
    hooks.showUnitReport = [report](const comms::UnitReport& unitReport) {
        report->showUnitReport(unitReport);
    };
    unit_ = std::make_unique<UnitCommands>(window, context, std::move(hooks));
    UnitCommands* unit = unit_.get();
    report_->setReadFromUnit([unit] { unit->RunCommsOperation(kOpReportFromUnit); });
    batch_ = std::make_unique<BatchCommands>(window, context, prompts);
    batch_->setRunOnUnit([unit](int operationCode, CoreOperation operation) {
        // A batch programs new units: there is nothing on them to back up.
        return unit->runThroughDialog(operationCode, std::move(operation),
                                      {"batch-write", comms::HistoryRecording::Snapshot::Always});
    });
    connectOlderUnits();
}

WindowCommands::~WindowCommands() = default;

// The older laundry form's commands run from its buttons, so the menu shows the form and presses
// the button; the dishwash, usage and text-dump commands show their results in the dishwash
// editor, the differences list and the report view.
void WindowCommands::connectOlderUnits() {
    auto* form = qobject_cast<LegacyLaundryForm*>(window_.view(kLegacyFormSlot));
    const std::pair<const char*, QPushButton*> formCommands[] = {
        {"olderRead", form != nullptr ? form->readButton() : nullptr},
        {"olderWrite", form != nullptr ? form->writeButton() : nullptr},
        {"olderThirdCommand", form != nullptr ? form->thirdButton() : nullptr},
    };
    for (const auto& command : formCommands) {
        // A plain variable, not a structured binding: clang 14 cannot capture those.
        QPushButton* button = command.second;
        QAction* action = window_.findChild<QAction*>(QString::fromLatin1(command.first));
        if (action == nullptr || button == nullptr) {
            continue;
        }
        action->setEnabled(true);
        QObject::connect(action, &QAction::triggered, form, [this, button] {
            window_.SwitchView(kLegacyFormSlot);
            if (button->isEnabled()) {
                button->click();
            }
        });
    }

    auto usage = std::make_shared<comms::UnitReport>();
    auto dump = std::make_shared<std::vector<std::string>>();
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"olderDishwashRead",
         [this] {
             runOnOlderUnit(text::kOlderDishwashRead, comms::readOlderDishwash,
                            [this] { window_.SwitchView(kDishwashSlot); },
                            {"legacy-dishwash-read", comms::HistoryRecording::Snapshot::WhenDone});
         }},
        {"olderDishwashVerify",
         [this] {
             // An entry still being typed belongs in the comparison: leaving the field stores it.
             if (QWidget* focus = QApplication::focusWidget()) {
                 focus->clearFocus();
             }
             runOnOlderUnit(text::kOlderDishwashVerify, comms::verifyOlderDishwash, {},
                            {"legacy-dishwash-verify"});
         }},
        {"olderUsage",
         [this, usage] {
             runOnOlderUnit(
                 text::kOlderUsage,
                 [usage](comms::LegacyContext& unit) {
                     return comms::readOlderUsage(unit, *usage);
                 },
                 [this, usage] { report_->showUnitReport(*usage); }, {"legacy-usage"});
         }},
        {"olderTextDump",
         [this, dump] {
             runOnOlderUnit(
                 text::kOlderTextDump,
                 [dump](comms::LegacyContext& unit) {
                     return comms::readOlderTextDump(unit, *dump);
                 },
                 [this, dump] { report_->showTextDump(*dump); }, {"legacy-dump"});
         }},
    };
    for (const auto& [name, run] : commands) {
        if (QAction* action = window_.findChild<QAction*>(QString::fromLatin1(name))) {
            action->setEnabled(true);
            QObject::connect(action, &QAction::triggered, &window_, run);
        }
    }
}

void WindowCommands::runOnOlderUnit(int titleId, comms::LegacyOperation operation,
                                    std::function<void()> done,
                                    const comms::HistoryRecording& recording) {
    OlderUnitSetup setup{context_.units,
                         context_.doc,
                         context_.language,
                         unit_->answers(),
                         titleId,
                         std::move(operation),
                         {},
                         {}};
    setup.refreshViews = [this] { context_.doc.notifyViews(model::DocHint::Opened); };
    setup.recording = recording;
    setup.done = [done = std::move(done)](const comms::SessionOutcome& outcome) {
        if (done && outcome.end == comms::SessionEnd::Ran &&
            outcome.result.status == comms::OperationStatus::Ok) {
            done();
        }
    };
    auto* dialog = new OlderUnitDialog(std::move(setup), &window_);
    if (!dialog->start()) {
        delete dialog;
    }
}

}  // namespace qelto::app
