// The communications dialog end to end against qelto-unitsim: scan, choose, read into the
// editor, write an edit that reaches the unit, a verify that finds a later edit, and Cancel in the
// middle of a slow write, with the window running throughout. Every question is answered from a
// script; no modal box waits for a click. The report in the window is the tour's, and a restore
// from the unit history qeltoctl's restore test's.
#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <nlohmann/json.hpp>

#include "app/comms/comms_answers.h"
#include "app/comms/comms_texts.h"
#include "app/comms/device_select_dialog.h"
#include "app/comms/differences_dialog.h"
#include "app/comms/unit_commands.h"
#include "app/editor/editor_pane.h"
#include "app/history/unit_history_dialog.h"
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
    std::optional<std::uint16_t> askPin(QWidget*) override {
        ++pinsAsked;
        return pin;
    }
    std::optional<comms::Options> askOptions(QWidget*, comms::OptionsKind,
                                             const comms::Options& preset) override {
        return options ? options : std::optional<comms::Options>(preset);
    }
    std::optional<int> askCalibrationChoice(QWidget*,
                                            const comms::CalibrationComparison&) override {
        return comms::kChooseUnitCalibration;
    }
    bool askYesNo(QWidget*, const QString& text, const QString&) override {
        questions << text;
        return true;
    }
    void message(QWidget*, const QString& text, comms::MessageIcon, const QString&) override {
        messages << text;
    }
    void showDifferences(QWidget*, const std::vector<protocol::Difference>& list) override {
        differences = list;
    }

    std::optional<std::uint16_t> pin = 1234;
    int pinsAsked = 0;
    std::optional<comms::Options> options;
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
        commands_ = std::make_unique<app::UnitCommands>(*window_, *context_,
                                                        app::UnitCommandHooks{}, &answers_);
        answers_ = ScriptedAnswers{};
    }
    void cleanup() {
        commands_.reset();
        window_.reset();
        context_.reset();
        sim_.reset();
    }

    // Read, edit, write and verify: the edit reaches the unit. (What the read shows in the editor,
    // typing into it and the write's message with the verify's under it are the tour's.)
    void anEditWrittenReachesTheUnit() {
        startUnit();
        chooseFirstUnit(QStringLiteral("comms_dialog_scanning"));
        QVERIFY(commands_->RunCommsOperation(app::kOpReadProgram));
        QCOMPARE(answers_.messages, QStringList{text(comms::kMsgReadDone)});
        QCOMPARE(context_->config.accessCode, 2);
        context_->config.accessCode = 7;
        // The unit the read ran on stays chosen (the tour reads its name in the status bar); the
        // next commands run on it at once, without a scan, a click or the PIN question.
        QCOMPARE(answers_.pinsAsked, 1);
        QVERIFY(commands_->RunCommsOperation(app::kOpWriteProgram));
        QCOMPARE(answers_.questions, QStringList{text(comms::kAskVerifyText)});
        QVERIFY(answers_.differences.empty());

        // A later edit that counts is found and listed (what counts is the verify's own test).
        context_->config.pumpSpeed[0] =
            static_cast<std::uint8_t>(context_->config.pumpSpeed[0] == 50 ? 60 : 50);
        QVERIFY(!commands_->RunCommsOperation(app::kOpVerifyProgram));
        QCOMPARE(answers_.messages.last(), text(comms::kMsgVerifyMismatch));
        QCOMPARE(answers_.differences.size(), std::size_t{1});

        // The unit history has every command on the chosen unit, newest first, the write's backup
        // just before it; the write against its backup shows the one edit, in the differences
        // list that no other test opens.
        QTimer::singleShot(0, this, [this] {
            auto* dialog = qobject_cast<app::UnitHistoryDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QTreeWidget* list = dialog->list();
            QStringList operations;
            for (int row = 0; row < list->topLevelItemCount(); ++row) {
                operations << list->topLevelItem(row)->text(1);
            }
            QCOMPARE(operations.mid(0, 4).join(QLatin1Char(' ')),
                     QStringLiteral("Verify Write Backup Read"));
            list->setCurrentItem(list->topLevelItem(1));
            dialog->findChild<QPushButton*>(QStringLiteral("historyComparePrevious"))->click();
            auto* shown = dialog->findChild<app::DifferencesDialog*>();
            QVERIFY(shown != nullptr);
            QVERIFY(shown->list()->topLevelItemCount() >= 1);
            saveShot(*dialog, QStringLiteral("unit_history"));
            dialog->reject();
        });
        window_->findChild<QAction*>(QStringLiteral("unitHistory"))->trigger();

        // Which fields a write changes is the write's own test's; here the edit reaches the unit.
        const json after = stopUnit();
        QVERIFY(after.at("locked").get<bool>());
        QCOMPARE(after.at("globals").at("accessCode").get<int>(), 7);
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
};

QTEST_MAIN(CommsDialogTest)
#include "comms_dialog_test.moc"
