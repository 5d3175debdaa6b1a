#include "app/comms/unit_commands.h"

#include <QAction>
#include <QApplication>
#include <QStackedWidget>
#include <QTimer>

#include "app/calibration/calibration_sheet_runner.h"
#include "app/comms/comms_answers.h"
#include "app/comms/comms_texts.h"
#include "app/comms/device_select_dialog.h"
#include "app/editor/editor_pane.h"
#include "app/editor/global_view.h"
#include "app/forms/dishwash_editor.h"
#include "app/forms/legacy_laundry_form.h"
#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"
#include "comms/calibration_session.h"
#include "comms/unit_report.h"
#include "model/unit_types.h"

namespace qelto::app {

UnitCommands::UnitCommands(MainWindow& window, ShellContext& context, UnitCommandHooks hooks,
                           CommsAnswers* answers)
    : QObject(&window), window_(window), context_(context), hooks_(std::move(hooks)) {
    if (answers == nullptr) {
        ownAnswers_ = std::make_unique<DialogCommsAnswers>(context_.language);
        answers = ownAnswers_.get();
    }
    answers_ = answers;
    connectActions();
    attachClockButtons();
    // An editor pane put into the window later gets the clock buttons once it shows.
    if (auto* stack = qobject_cast<QStackedWidget*>(window_.centralWidget())) {
        connect(stack, &QStackedWidget::currentChanged, this, [this] { attachClockButtons(); });
    }
    // The session works on the new port from now on; a link kept open from a scan is on the
    // old one.
    connect(&window_, &MainWindow::serialPortChanged, this, [this] {
        context_.units.configure(comms::sessionSettingsFrom(context_.settings));
        context_.units.closeLinks();
    });
}

UnitCommands::~UnitCommands() = default;

void UnitCommands::connectActions() {
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"unitRead", [this] { RunCommsOperation(kOpReadProgram); }},
        {"unitWrite", [this] { RunCommsOperation(kOpWriteProgram); }},
        {"unitVerify", [this] { RunCommsOperation(kOpVerifyProgram); }},
        {"unitClockGet", [this] { RunCommsOperation(kOpReadProgram, true); }},
        {"unitClockSet", [this] { RunCommsOperation(kOpWriteProgram, true); }},
        {"unitPumpCalibration", [this] { calibratePumps(); }},
        {"unitReport", [this] { RunCommsOperation(kOpReportFromUnit); }},
        {"unitFind", [this] { findUnits(); }},
    };
    for (const auto& [name, run] : commands) {
        if (auto* action = window_.findChild<QAction*>(QString::fromLatin1(name))) {
            action->setEnabled(true);
            connect(action, &QAction::triggered, this, run);
        }
    }
}

void UnitCommands::attachClockButtons() {
    for (GlobalView* view : window_.findChildren<GlobalView*>()) {
        view->setClockCommands([this] { RunCommsOperation(kOpReadProgram, true); },
                               [this] { RunCommsOperation(kOpWriteProgram, true); });
    }
}

void UnitCommands::pushEdits() {
    // The views write an edit into the record when their field loses the focus.
    if (QWidget* focus = QApplication::focusWidget()) {
        focus->clearFocus();
    }
}

void UnitCommands::refreshViews() {
    if (auto* editor = qobject_cast<EditorPane*>(window_.view(kEditorSlot))) {
        editor->reload();
    }
    if (auto* legacy = qobject_cast<LegacyLaundryForm*>(window_.view(kLegacyFormSlot))) {
        legacy->reload();
    }
    if (auto* dishwash = qobject_cast<DishwashEditor*>(window_.view(kDishwashSlot))) {
        dishwash->reload();
    }
    window_.refreshTitle();
}

std::optional<comms::OperationResult> UnitCommands::runThroughDialog(int operationCode,
                                                                     CoreOperation op) {
    DeviceDialogSetup setup;
    setup.operation = operationCode;
    setup.work = std::move(op);
    setup.reportOptions = hooks_.askReportOptions;
    setup.refreshViews = [this] { refreshViews(); };
    DeviceSelectDialog dialog(context_, *answers_, std::move(setup), &window_);
    dialog.exec();
    return dialog.result();
}

bool UnitCommands::RunCommsOperation(int operation, bool clockOnly) {
    std::optional<comms::OperationResult> result;
    switch (operation) {
        case kOpReadProgram:
            result = runThroughDialog(operation, [clockOnly](comms::OperationContext& context) {
                bool clock = clockOnly;
                return comms::readProgram(context, clock);
            });
            if (result) {
                // Whatever the read brought in (all of it, or the parts read before a failure
                // or a cancel) is in the document now and not in any file.
                context_.doc.setModifiedFlag(true);
                refreshViews();
            }
            break;
        case kOpWriteProgram:
            pushEdits();
            result = runThroughDialog(operation, [clockOnly](comms::OperationContext& context) {
                bool clock = clockOnly;
                return comms::writeProgram(context, clock);
            });
            break;
        case kOpVerifyProgram:
            pushEdits();
            result = runThroughDialog(operation, [](comms::OperationContext& context) {
                return comms::verifyProgram(context);
            });
            break;
        case kOpReportFromUnit: {
            auto report = std::make_shared<std::optional<comms::UnitReport>>();
            result = runThroughDialog(operation, [report](comms::OperationContext& context) {
                comms::ReportOutcome outcome = comms::reportFromUnit(context);
                *report = std::move(outcome.report);
                return outcome.result;
            });
            if (result && result->status == comms::OperationStatus::Ok && *report &&
                hooks_.showUnitReport) {
                hooks_.showUnitReport(**report);
            }
            break;
        }
        case kOpPumpCalibration:
            return runCalibration();
        default:
            // Nothing to do on the unit: it is only locked again as the link closes.
            result = runThroughDialog(
                operation, [](comms::OperationContext&) { return comms::OperationResult{}; });
            break;
    }
    return result && result->status == comms::OperationStatus::Ok;
}

void UnitCommands::findUnits() {
    DeviceDialogSetup setup;
    setup.operation = kOpFindUnits;
    setup.refreshViews = [this] { refreshViews(); };
    DeviceSelectDialog dialog(context_, *answers_, std::move(setup), &window_);
    QTimer::singleShot(0, &dialog, &DeviceSelectDialog::scanAndRefill);
    dialog.exec();
}

void UnitCommands::calibratePumps() {
    pushEdits();
    const int view = window_.currentViewIndex();
    if (view != kEditorSlot) {
        answers_->message(&window_,
                          context_.text(view == kDishwashSlot ? commstext::kMsgCalibrationDishwash
                                                              : commstext::kMsgCalibrationNoEditor),
                          comms::MessageIcon::Information, QStringLiteral("Qelto"));
        return;
    }
    runCalibration();
}

bool UnitCommands::runCalibration() {
    // "Language" 8 shows volumes in fluid ounces.
    const bool american = context_.settings.language == platform::kAmericanEnglish;
    DeviceSelectDialog* dialog = nullptr;
    DeviceDialogSetup setup;
    setup.operation = kOpPumpCalibration;
    setup.refreshViews = [this] { refreshViews(); };
    setup.work = [this, &dialog, american](comms::OperationContext& context) {
        comms::CalibrationSession session(context);
        const comms::UnitIdentity& unit = dialog->unitIdentity();
        const QString label =
            QStringLiteral("%1 - %2")
                .arg(QString::fromStdString(model::unitModelName(unit.unitTypeIndex)))
                .arg(unit.serial, 9, 10, QLatin1Char('0'));
        // The sheet is modal on the GUI thread and runs its unit work on a worker of its own;
        // this worker keeps the unit open and unlocked until it closes.
        dialog->prompts().ask<bool>(false, [&](QWidget* parent) {
            runCalibrationSheet(parent, CalibrationSheetSetup{context_.doc, context_.language,
                                                              american, &session, label});
            return true;
        });
        return comms::OperationResult{};  // unitLocked stays false: the link's close locks it
    };
    DeviceSelectDialog select(context_, *answers_, std::move(setup), &window_);
    dialog = &select;
    select.exec();
    if (select.withoutUnit()) {
        runCalibrationSheet(
            &window_, CalibrationSheetSetup{context_.doc, context_.language, american, nullptr,
                                            context_.text(commstext::kTextFromEditor)});
        refreshViews();
        return true;
    }
    if (!select.result()) {
        return false;
    }
    refreshViews();
    return select.result()->status == comms::OperationStatus::Ok;
}

}  // namespace qelto::app
