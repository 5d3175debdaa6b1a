// The communications dialog end to end against qelto-unitsim: scan, choose, read into the
// editor, write an edit and verify it, a verify that finds differences, a report from the unit,
// a refused PIN, and Cancel in the middle of a slow write, with the window running throughout.
// Every question is answered from a script; no modal box waits for a click.
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <fstream>
#include <nlohmann/json.hpp>

#include "app/calibration/calibration_sheet.h"
#include "app/comms/calibration_choice_dialog.h"
#include "app/comms/comms_answers.h"
#include "app/comms/comms_texts.h"
#include "app/comms/device_select_dialog.h"
#include "app/comms/differences_dialog.h"
#include "app/comms/options_dialog.h"
#include "app/comms/unit_commands.h"
#include "app/editor/editor_pane.h"
#include "app/editor/global_view.h"
#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"
#include "app_test_env.h"
#include "screen_shots.h"
#include "shell_fake_prompts.h"
#include "support/sim_process.h"
#include "support/unit_memory.h"

using namespace qelto;
using nlohmann::json;

namespace {

// Answers from a script; remembers what it was told.
class ScriptedAnswers final : public app::CommsAnswers {
  public:
    std::optional<std::uint16_t> askPin(QWidget*) override { return pin; }
    std::optional<comms::Options> askOptions(QWidget*, comms::OptionsKind,
                                             const comms::Options& preset) override {
        ++optionsAsked;
        return options ? options : std::optional<comms::Options>(preset);
    }
    std::optional<int> askCalibrationChoice(QWidget*,
                                            const comms::CalibrationComparison&) override {
        ++calibrationAsked;
        return comms::kChooseUnitCalibration;
    }
    bool askYesNo(QWidget*, const QString& text, const QString&) override {
        questions << text;
        return yes;
    }
    void message(QWidget*, const QString& text, comms::MessageIcon, const QString&) override {
        messages << text;
    }
    void showDifferences(QWidget*, const std::vector<protocol::Difference>& list) override {
        differences = list;
    }

    std::optional<std::uint16_t> pin = 1234;
    std::optional<comms::Options> options;
    bool yes = true;
    int calibrationAsked = 0;
    int optionsAsked = 0;
    QStringList questions;
    QStringList messages;
    std::vector<protocol::Difference> differences;
};

}  // namespace

class CommsDialogTest : public QObject {
    Q_OBJECT

    test::AppTestEnv env_;
    std::unique_ptr<app::ShellContext> context_;
    test::FakePrompts shellPrompts_;
    ScriptedAnswers answers_;
    std::unique_ptr<app::MainWindow> window_;
    std::unique_ptr<app::UnitCommands> commands_;
    std::unique_ptr<test::SimProcess> sim_;
    app::EditorPane* editor_ = nullptr;
    std::vector<comms::UnitReport> reports_;

    QString text(int id) const { return context_->text(id); }
    std::filesystem::path dir() const { return env_.path().toStdString(); }

    void startUnit(const std::vector<std::string>& options = {}) {
        sim_ = test::SimProcess::withMemory(dir(), QELTO_UNITSIM_PATH, test::unitMemory(), options);
        context_->settings.serPort = sim_->portPath();
    }
    json stopUnit() { return sim_->stopAndDump(); }

    // Runs script on the communications dialog as soon as it is up.
    void whenDialogOpens(std::function<void(app::DeviceSelectDialog&)> script) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [timer, script] {
            if (auto* dialog =
                    qobject_cast<app::DeviceSelectDialog*>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                script(*dialog);
                if (QTest::currentTestFailed()) {
                    dialog->reject();  // a failed step must not leave the dialog waiting
                }
            }
        });
        timer->start(10);
    }
    // Scans, chooses the one unit found and presses OK.
    void chooseFirstUnit(const QString& shot = {}) {
        whenDialogOpens([this, shot](app::DeviceSelectDialog& dialog) {
            dialog.scanButton()->click();
            if (!shot.isEmpty()) {
                QTRY_VERIFY(dialog.progressBar()->isVisible() || !dialog.busy());
                saveShot(dialog, shot);
            }
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.busy(), 20000);
            QCOMPARE(dialog.deviceList()->count(), 1);
            QVERIFY(dialog.deviceList()->item(0)->text().endsWith(QStringLiteral(" : (RS232/BT)")));
            dialog.deviceList()->setCurrentRow(0);
            QVERIFY(dialog.okButton()->isEnabled());
            dialog.okButton()->click();
        });
    }
    void saveShot(QWidget& widget, const QString& name) {
        QVERIFY(widget.grab().save(test::shotPath(env_.path(), name)));
    }
    void readUnit() {
        chooseFirstUnit();
        QVERIFY(commands_->RunCommsOperation(app::kOpReadProgram));
        QVERIFY(answers_.messages.contains(text(comms::kMsgReadDone)));
        answers_.messages.clear();
    }

  private Q_SLOTS:
    void init() {
        auto catalog = platform::LanguageCatalog::loadForSetting(1);
        platform::SettingsStore store;
        context_ = std::make_unique<app::ShellContext>(store, store.load(), std::move(*catalog));
        window_ = std::make_unique<app::MainWindow>(*context_, shellPrompts_);
        editor_ = new app::EditorPane(context_->doc, context_->language);
        window_->setView(app::kEditorSlot, editor_);
        window_->SwitchView(app::kEditorSlot);
        window_->show();
        app::UnitCommandHooks hooks;
        hooks.askReportOptions = [](QWidget*) { return comms::ReportRequest{}; };
        hooks.showUnitReport = [this](const comms::UnitReport& report) {
            reports_.push_back(report);
        };
        commands_ =
            std::make_unique<app::UnitCommands>(*window_, *context_, std::move(hooks), &answers_);
        answers_ = ScriptedAnswers{};
        reports_.clear();
    }
    void cleanup() {
        commands_.reset();
        window_.reset();
        context_.reset();
        sim_.reset();
    }

    void readShowsTheUnitInTheEditorAndAReportGoesToTheView() {
        startUnit();
        QVERIFY(window_->findChild<QAction*>(QStringLiteral("unitRead"))->isEnabled());
        chooseFirstUnit(QStringLiteral("comms_dialog_scanning"));
        QVERIFY(commands_->RunCommsOperation(app::kOpReadProgram));
        QCOMPARE(answers_.messages, QStringList{text(comms::kMsgReadDone)});
        QCOMPARE(editor_->globalView()->customerName1Edit()->text(), QStringLiteral("Hotel Sud"));
        QCOMPARE(context_->config.accessCode, 2);
        QVERIFY(context_->doc.isModified());
        // The list survives the dialog: the next one shows the unit without a scan.
        whenDialogOpens([this](app::DeviceSelectDialog& dialog) {
            QCOMPARE(dialog.deviceList()->count(), 1);
            QCOMPARE(dialog.statusLine()->text(), text(comms::kStatusUnitsListed));
            QVERIFY(!dialog.okButton()->isEnabled());  // until a unit is chosen
            saveShot(dialog, QStringLiteral("comms_dialog_listed"));
            dialog.cancelButton()->click();
        });
        QVERIFY(!commands_->RunCommsOperation(app::kOpVerifyProgram));

        // A report from the unit goes to the report view.
        chooseFirstUnit();
        QVERIFY(commands_->RunCommsOperation(app::kOpReportFromUnit));
        QCOMPARE(reports_.size(), std::size_t{1});
        QCOMPARE(model::textOf(reports_[0].unit.customerName1), std::string("Hotel Sud"));
        QCOMPARE(reports_[0].unit.progName[0].substr(0, 6), std::string("Towels"));
        QVERIFY(stopUnit().at("locked").get<bool>());
    }

    // The communications log belongs to the window's session: a scan, a read and a write land
    // in one file, under one SysInfo line and one numbering, the scan's packets included.
    void writtenEditIsInTheUnitAndVerified() {
        startUnit();
        std::string error;
        QVERIFY2(context_->units.startCommsLog(dir(), {}, &error), error.c_str());
        readUnit();
        QSpinBox* access = editor_->globalView()->accessCodeBox();
        access->selectAll();
        QTest::keyClicks(access, QStringLiteral("7"));
        QTest::keyClick(access, Qt::Key_Return);
        QCOMPARE(context_->config.accessCode, 7);

        chooseFirstUnit();
        QVERIFY(commands_->RunCommsOperation(app::kOpWriteProgram));
        QCOMPARE(answers_.calibrationAsked, 1);
        QCOMPARE(answers_.questions, QStringList{text(comms::kAskVerifyText)});
        QVERIFY2(answers_.messages.contains(text(comms::kMsgWriteDone)),
                 qPrintable(answers_.messages.join(QStringLiteral(" | "))));
        QVERIFY(answers_.differences.empty());
        const json unit = stopUnit();
        QCOMPARE(unit.at("globals").at("accessCode").get<int>(), 7);
        QVERIFY(unit.at("locked").get<bool>());

        std::ifstream csv(dir() / "CommsLog.csv");
        int sysInfo = 0;
        int scanPolls = 0;
        long last = 0;
        for (std::string line; std::getline(csv, line);) {
            if (line.find(",SysInfo,") != std::string::npos) {
                ++sysInfo;
            }
            if (line.find("P>>>,PKT_POLL,CMD_NONE") != std::string::npos) {
                ++scanPolls;
            }
            const auto comma = line.find(", ", line.find(", ") + 2);
            const bool exchanged = line.find(",P>>>,") != std::string::npos ||
                                   line.find(",<<<U,") != std::string::npos;
            if (exchanged && comma != std::string::npos) {
                const long event = std::stol(line.substr(comma + 2));
                QVERIFY2(event > last, line.c_str());
                last = event;
            }
        }
        QCOMPARE(sysInfo, 1);
        QVERIFY(scanPolls >= 2);  // the two scans' polls, before any unlock
        QVERIFY(last > 100);
    }

    void clockButtonSetsOnlyTheClock() {
        startUnit();
        answers_.yes = false;
        chooseFirstUnit();
        QPushButton* setClock = editor_->globalView()->setClockButton();
        QVERIFY(setClock->isEnabled());
        setClock->click();
        QTRY_VERIFY(answers_.messages.contains(text(comms::kMsgWriteDone)));
        QCOMPARE(answers_.optionsAsked, 0);
        const json unit = stopUnit();
        QVERIFY(unit.at("clock").get<std::string>().ends_with(
            std::to_string(QDate::currentDate().year())));
        QCOMPARE(unit.at("customerLines").at(0).get<std::string>(), std::string("Hotel Sud"));
    }

    void verifyOffersTheDifferences() {
        startUnit();
        readUnit();
        context_->config.pumpSpeed[0] =
            static_cast<std::uint8_t>(context_->config.pumpSpeed[0] == 50 ? 60 : 50);
        context_->config.customerName1[0] = 'X';  // customer names never count
        chooseFirstUnit();
        QVERIFY(!commands_->RunCommsOperation(app::kOpVerifyProgram));
        QCOMPARE(answers_.messages, QStringList{text(comms::kMsgVerifyMismatch)});
        QVERIFY(!answers_.differences.empty());

        app::DifferencesDialog list(context_->language, answers_.differences);
        QCOMPARE(list.list()->topLevelItemCount(), static_cast<int>(answers_.differences.size()));
        list.show();
        saveShot(list, QStringLiteral("comms_differences"));
    }

    void refusedPinRunsNothing() {
        startUnit();
        answers_.pin = 4321;
        const auto before = context_->config.accessCode;
        chooseFirstUnit();
        QVERIFY(!commands_->runThroughDialog(app::kOpReadProgram, [](comms::OperationContext&) {
            return comms::OperationResult{};
        }));
        QCOMPARE(answers_.messages, QStringList{text(app::commstext::kMsgUnlockFailed)});
        QCOMPARE(context_->config.accessCode, before);
        QVERIFY(!context_->doc.isModified());
    }

    void cancelInTheMiddleOfAWriteLeavesTheUnitLocked() {
        startUnit({"--pace", "--baud", "9600"});
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
        ticker.start(10);
        answers_.options = comms::allOptions();
        chooseFirstUnit();
        int ticksAtCancel = -1;
        QTimer::singleShot(0, this, [&] {
            auto* dialog =
                qobject_cast<app::DeviceSelectDialog*>(QApplication::activeModalWidget());
            QTRY_VERIFY(dialog != nullptr && dialog->busy() && dialog->progressBar()->isVisible());
            // Well into the program data, with the window still drawing.
            const int before = ticks;
            QTest::qWait(400);
            ticksAtCancel = ticks - before;
            saveShot(*dialog, QStringLiteral("comms_dialog_writing"));
            dialog->cancelButton()->click();
            QCOMPARE(dialog->statusLine()->text(), text(app::commstext::kStatusCancelling));
        });
        const auto result =
            commands_->runThroughDialog(app::kOpWriteProgram, [](comms::OperationContext& c) {
                bool clockOnly = false;
                return comms::writeProgram(c, clockOnly);
            });
        QVERIFY2(ticksAtCancel > 10, qPrintable(QString::number(ticksAtCancel)));
        QVERIFY(result.has_value());
        QCOMPARE(result->status, comms::OperationStatus::Cancelled);
        QCOMPARE(answers_.messages, QStringList{text(app::commstext::kMsgCancelled)});
        QVERIFY(answers_.questions.isEmpty());  // no verify question after a cancel
        QVERIFY(stopUnit().at("locked").get<bool>());
    }

    void pumpCalibrationOnlyFromTheLaundryEditor() {
        window_->SwitchView(app::kStartViewSlot);
        window_->findChild<QAction*>(QStringLiteral("unitPumpCalibration"))->trigger();
        QCOMPARE(answers_.messages, QStringList{text(app::commstext::kMsgCalibrationNoEditor)});

        // No unit chosen: the sheet opens over the editor's values and nothing is sent.
        window_->SwitchView(app::kEditorSlot);
        QString label;
        whenDialogOpens([&label](app::DeviceSelectDialog& dialog) {
            QVERIFY(dialog.okButton()->isEnabled());
            QTimer::singleShot(0, [&label] {
                QTRY_VERIFY(qobject_cast<app::CalibrationSheet*>(
                                QApplication::activeModalWidget()) != nullptr);
                auto* sheet =
                    qobject_cast<app::CalibrationSheet*>(QApplication::activeModalWidget());
                label = sheet->findChild<QLabel*>(QStringLiteral("unitLabel"))->text();
                sheet->reject();
            });
            dialog.okButton()->click();
        });
        QVERIFY(commands_->RunCommsOperation(app::kOpPumpCalibration));
        QCOMPARE(label, text(app::commstext::kTextFromEditor));
        QCOMPARE(answers_.messages.size(), 1);

        // With a unit, the sheet works over the open connection, which is locked afterwards.
        startUnit();
        chooseFirstUnit();
        // Polled, not waited for: the sheet's own event loop must not run inside a wait. The
        // sheet closes only once its first read from the unit is done.
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&label] {
            if (auto* sheet =
                    qobject_cast<app::CalibrationSheet*>(QApplication::activeModalWidget())) {
                label = sheet->findChild<QLabel*>(QStringLiteral("unitLabel"))->text();
                sheet->reject();
            }
        });
        poll.start(10);
        QVERIFY(commands_->RunCommsOperation(app::kOpPumpCalibration));
        QVERIFY2(label.endsWith(QStringLiteral(" - 123456789")), qPrintable(label));
        QVERIFY(stopUnit().at("locked").get<bool>());
    }

    void optionsAndCalibrationDialogs() {
        auto catalog = platform::LanguageCatalog::loadForSetting(1);
        comms::Options preset;
        preset.bPumpData = true;
        preset.bSpare = true;
        app::OptionsDialog write(*catalog, comms::OptionsKind::Write, preset);
        QVERIFY(write.flagBox(3)->isChecked());
        QVERIFY(!write.flagBox(5)->isEnabled());  // appending needs comments
        write.flagBox(4)->click();
        QVERIFY(write.flagBox(5)->isEnabled());
        QVERIFY(write.flagBox(7) == nullptr);
        const comms::Options chosen = write.options();
        QVERIFY(chosen.bComments && chosen.bPumpData && chosen.bSpare && !chosen.bPumpNames);
        write.show();
        saveShot(write, QStringLiteral("comms_write_options"));
        app::OptionsDialog verify(*catalog, comms::OptionsKind::Verify, comms::allOptions());
        QVERIFY(verify.flagBox(2) == nullptr && verify.flagBox(6) == nullptr);
        verify.show();
        saveShot(verify, QStringLiteral("comms_verify_options"));

        comms::CalibrationComparison comparison;
        comparison.pumpsShown = 6;
        comparison.unitValues = {120, 0, 95, 0, 0, 0};
        comparison.editorValues = {120, 80, 95, 0, 0, 0};
        app::CalibrationChoiceDialog choice(*catalog, comparison);
        QCOMPARE(choice.table()->rowCount(), 6);
        QCOMPARE(choice.choice(), comms::kChooseUnitCalibration);
        choice.findChild<QRadioButton*>(QStringLiteral("writeEditor"))->click();
        QCOMPARE(choice.choice(), comms::kChooseEditorCalibration);
        choice.show();
        saveShot(choice, QStringLiteral("comms_calibration_choice"));
    }
};

QTEST_MAIN(CommsDialogTest)
#include "comms_dialog_test.moc"
