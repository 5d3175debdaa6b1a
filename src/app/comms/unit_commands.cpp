#include "app/comms/unit_commands.h"

#include <QAction>
#include <QApplication>
#include <QProgressBar>
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
#include "app/history/history_texts.h"
#include "app/history/unit_history_dialog.h"
#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"
#include "comms/calibration_session.h"
#include "comms/unit_history_store.h"
#include "comms/unit_report.h"
#include "model/unit_types.h"
#include "platform/user_paths.h"

namespace qelto::app {

UnitCommands::UnitCommands(MainWindow& window, ShellContext& context, UnitCommandHooks hooks,
                           CommsAnswers* answers)
    : QObject(&window), window_(window), context_(context), hooks_(std::move(hooks)) {
    if (answers == nullptr) {
        ownAnswers_ = std::make_unique<DialogCommsAnswers>(context_.language);
        answers = ownAnswers_.get();
    }
    answers_ = answers;
    startHistory();
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
        context_.chosenUnit.reset();
        window_.showChosenUnit();
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
        {"unitHistory", [this] { showHistory(); }},
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

void UnitCommands::startHistory() {
    if (context_.units.history() != nullptr) {
        return;  // the window's session has its history already
    }
    std::string notice;
    auto history = comms::openUnitHistory(platform::historyFile(), &notice);
    const bool opened = history != nullptr;
    // Told on the worker thread, shown on the GUI thread once the dialog is done.
    auto warn = [this, opened](const std::string& reason) {
        QMetaObject::invokeMethod(
            this,
            [this, opened, reason] {
                const QString text = QString::fromStdString(reason);
                answers_->message(&window_,
                                  opened ? text : context_.text(historytext::kCannotUse).arg(text),
                                  comms::MessageIcon::Warning, QStringLiteral("Qelto"));
            },
            Qt::QueuedConnection);
    };
    context_.units.useHistory(std::make_unique<comms::HistoryRecorder>(
        std::move(history), QELTO_VERSION, std::move(warn), std::move(notice)));
}

void UnitCommands::showHistory() {
    comms::HistoryRecorder* recorder = context_.units.history();
    if (recorder == nullptr || !recorder->available()) {
        answers_->message(&window_,
                          context_.text(historytext::kCannotUse)
                              .arg(QString::fromStdString(platform::historyFile().string())),
                          comms::MessageIcon::Warning, QStringLiteral("Qelto"));
        return;
    }
    HistoryDialogActions actions;
    actions.openAsDocument = [this](const std::vector<std::uint8_t>& snapshot) {
        return window_.openSnapshot(snapshot);
    };
    actions.restoreToUnit = [this](std::uint32_t serial) { restoreToUnit(serial); };
    UnitHistoryDialog dialog(context_, *recorder->history(), *answers_, std::move(actions),
                             &window_);
    dialog.exec();
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

std::optional<comms::OperationResult> UnitCommands::runThroughDialog(
    int operationCode, CoreOperation op, const comms::HistoryRecording& recording,
    std::optional<std::uint32_t> onlySerial) {
    DeviceDialogSetup setup;
    setup.operation = operationCode;
    setup.work = std::move(op);
    setup.recording = recording;
    setup.onlySerial = onlySerial;
    setup.reportOptions = hooks_.askReportOptions;
    setup.refreshViews = [this] { refreshViews(); };
    DeviceSelectDialog dialog(context_, *answers_, std::move(setup), &window_);
    runWithStatusBar(dialog);
    return dialog.result();
}

void UnitCommands::runWithStatusBar(DeviceSelectDialog& dialog) {
    // The status bar's indicator follows the dialog's, so the window shows the work too.
    QProgressBar* bar = dialog.progressBar();
    connect(bar, &QProgressBar::valueChanged, &window_, [this, bar](int value) {
        if (bar->maximum() > 0) {
            window_.setProgress(100 * value / bar->maximum());
        }
    });
    dialog.exec();
    window_.hideProgress();
    window_.showChosenUnit();
}

comms::HistoryRecording UnitCommands::writeRecording(const char* operation) const {
    return {operation, comms::HistoryRecording::Snapshot::Always,
            context_.settings.historyBackup != 0};
}

bool UnitCommands::restoreToUnit(std::uint32_t serial) {
    pushEdits();
    const auto result = runThroughDialog(
        kOpWriteProgram,
        [](comms::OperationContext& context) {
            bool clockOnly = false;
            return comms::writeProgram(context, clockOnly);
        },
        writeRecording("restore"), serial);
    return result && result->status == comms::OperationStatus::Ok;
}

bool UnitCommands::RunCommsOperation(int operation, bool clockOnly) {
    using Snapshot = comms::HistoryRecording::Snapshot;
    std::optional<comms::OperationResult> result;
    switch (operation) {
        case kOpReadProgram:
            result = runThroughDialog(
                operation,
                [clockOnly](comms::OperationContext& context) {
                    bool clock = clockOnly;
                    return comms::readProgram(context, clock);
                },
                clockOnly ? comms::HistoryRecording{"clock-get"}
                          : comms::HistoryRecording{"read", Snapshot::WhenDone});
            if (result) {
                // Whatever the read brought in (all of it, or the parts read before a failure
                // or a cancel) is in the document now and not in any file.
                context_.doc.setModifiedFlag(true);
                refreshViews();
                // What was read shows at once: the unit-wide settings, where the clock is too.
                window_.showDocumentView();
                if (auto* editor = qobject_cast<EditorPane*>(window_.view(kEditorSlot));
                    editor != nullptr && window_.currentViewIndex() == kEditorSlot) {
                    editor->showGlobalSettings();
                }
            }
            break;
        case kOpWriteProgram:
            pushEdits();
            result = runThroughDialog(
                operation,
                [clockOnly](comms::OperationContext& context) {
                    bool clock = clockOnly;
                    return comms::writeProgram(context, clock);
                },
                clockOnly ? comms::HistoryRecording{"clock-set"} : writeRecording("write"));
            break;
        case kOpVerifyProgram:
            pushEdits();
            result = runThroughDialog(
                operation,
                [](comms::OperationContext& context) { return comms::verifyProgram(context); },
                {"verify"});
            break;
        case kOpReportFromUnit: {
            auto report = std::make_shared<std::optional<comms::UnitReport>>();
            result = runThroughDialog(operation,
                                      [report](comms::OperationContext& context) {
                                          comms::ReportOutcome outcome =
                                              comms::reportFromUnit(context);
                                          *report = std::move(outcome.report);
                                          return outcome.result;
                                      },
                                      {"report"});
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
    runWithStatusBar(dialog);
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
    setup.recording = {"calibration"};
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
    runWithStatusBar(select);
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
