#include "app/shell/window_commands.h"

#include <QAction>
#include <QPushButton>

#include "app/batch/batch_commands.h"
#include "app/comms/unit_commands.h"
#include "app/forms/legacy_laundry_form.h"
#include "app/report/report_commands.h"
#include "app/report/report_options_dialog.h"
#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"

namespace qelto::app {

WindowCommands::WindowCommands(MainWindow& window, ShellContext& context, ShellPrompts& prompts)
    : report_(std::make_unique<ReportCommands>(window, context, prompts)) {
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
        return unit->runThroughDialog(operationCode, std::move(operation));
    });
    connectOlderUnits(window);
}

WindowCommands::~WindowCommands() = default;

// The older laundry form does its own talking to the unit; the menu shows the form and presses
// its button, so both ways run the same code.
void WindowCommands::connectOlderUnits(MainWindow& window) {
    auto* form = qobject_cast<LegacyLaundryForm*>(window.view(kLegacyFormSlot));
    if (form == nullptr) {
        return;
    }
    const std::pair<const char*, QPushButton*> commands[] = {
        {"olderRead", form->readButton()},
        {"olderWrite", form->writeButton()},
        {"olderThirdCommand", form->thirdButton()},
    };
    for (const auto& command : commands) {
        // A plain variable, not a structured binding: clang 14 cannot capture those.
        QPushButton* button = command.second;
        QAction* action = window.findChild<QAction*>(QString::fromLatin1(command.first));
        if (action == nullptr || button == nullptr) {
            continue;
        }
        action->setEnabled(true);
        QObject::connect(action, &QAction::triggered, form, [&window, button] {
            window.SwitchView(kLegacyFormSlot);
            if (button->isEnabled()) {
                button->click();
            }
        });
    }
}

}  // namespace qelto::app
