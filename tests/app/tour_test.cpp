// A new engineer's first hour with the window, at 1366x768 against qelto-unitsim, saved as
// pictures (tour-NN-<step>.png, and tour-de-NN-<step>.png in German) for a person to look
// through: find the unit, read it, edit, write and verify, the clock, the calibration sheet, a
// usage report and its workbook, the batch form, an older unit, and a unit without a clock.
// Every modal dialog is answered by a timer as a person would, and pictured on the way.
#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <nlohmann/json.hpp>

#include "app/batch/batch_setup_dialog.h"
#include "app/calibration/calibration_sheet.h"
#include "app/comms/device_select_dialog.h"
#include "app/editor/editor_pane.h"
#include "app/editor/global_view.h"
#include "app/shell/language_dialog.h"
#include "app/shell/main_window.h"
#include "app/shell/qelto_application.h"
#include "app/shell/shell_context.h"
#include "app_test_env.h"
#include "comms/operation_driver.h"
#include "screen_shots.h"
#include "shell_fake_prompts.h"
#include "support/sim_process.h"
#include "support/unit_memory.h"

using namespace qelto;

class TourTest : public QObject {
    Q_OBJECT

    test::AppTestEnv env_;
    test::FakePrompts prompts_;
    std::unique_ptr<app::QeltoApplication> qelto_;
    QString prefix_ = QStringLiteral("tour");
    int step_ = 0;
    QString stepName_;
    int dialogShots_ = 0;
    QStringList messages_;  // what the message boxes said, in order
    QTimer answerer_;

    app::MainWindow& window() { return *qelto_->window(); }
    app::ShellContext& context() { return *qelto_->context(); }
    QString text(int id) { return context().text(id); }

    void shoot(QWidget& widget, const QString& name) {
        QVERIFY(widget.grab().save(test::shotPath(env_.path(), name)));
    }
    // The next step of the tour: its number, and the window as it stands after it.
    void step(const QString& name) {
        stepName_ =
            QStringLiteral("%1-%2-%3").arg(prefix_).arg(++step_, 2, 10, QLatin1Char('0')).arg(name);
        dialogShots_ = 0;
    }
    void shootWindow() {
        QTest::qWait(50);  // the status bar lays out its new text
        shoot(window(), stepName_);
    }
    void shootDialog(QWidget& dialog, const char* what) {
        shoot(dialog, QStringLiteral("%1-%2%3")
                          .arg(stepName_, QString::fromLatin1(what))
                          .arg(++dialogShots_));
    }

    // Answers whichever modal dialog is on top: OK, Yes, the PIN 1234, the first unit found.
    // The answer is given from a fresh turn of the event loop, so a question it raises in turn
    // (Cancel's "really quit?") is answered by this timer too.
    void answerModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || modal->property("tourAnswered").toBool()) {
            return;
        }
        auto* dialog = qobject_cast<QDialog*>(modal);
        std::function<void()> answer = [dialog] { dialog->accept(); };
        if (auto* units = qobject_cast<app::DeviceSelectDialog*>(modal)) {
            if (units->busy() && !units->property("tourShotBusy").toBool()) {
                units->setProperty("tourShotBusy", true);
                shootDialog(*units, "working");
            }
            if (units->busy() || units->deviceList()->count() == 0) {
                return;  // still scanning, or running the command on the unit chosen before
            }
            if (units->deviceList()->currentRow() < 0) {
                units->deviceList()->setCurrentRow(0);
            }
            shootDialog(*units, "units");
            answer = [units] { units->okButton()->click(); };
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            messages_ << box->text();
            shootDialog(*box, "message");
            QAbstractButton* yes = box->button(QMessageBox::Yes);
            answer = [button = yes != nullptr ? yes : box->button(QMessageBox::Ok)] {
                button->click();
            };
        } else if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            input->setIntValue(1234);
            shootDialog(*input, "pin");
        } else if (auto* language = qobject_cast<app::LanguageDialog*>(modal)) {
            language->choose(4);  // German
            shootDialog(*language, "language");
        } else if (auto* sheet = qobject_cast<app::CalibrationSheet*>(modal)) {
            if (sheet->busy()) {
                return;
            }
            shootDialog(*sheet, "sheet");
            answer = [sheet] { sheet->reject(); };
        } else if (qobject_cast<app::BatchSetupDialog*>(modal) != nullptr) {
            shootDialog(*modal, "batch");
            answer = [dialog] { dialog->reject(); };
        } else if (dialog != nullptr) {
            if (auto* user = dialog->findChild<QLineEdit*>(QStringLiteral("userName"))) {
                user->setText(QStringLiteral("Engineer"));
            }
            if (auto* from = dialog->findChild<QDateEdit*>(QStringLiteral("fromDate"))) {
                from->setDate(from->date().addDays(-14));  // two weeks of the unit's log
            }
            shootDialog(*dialog, "dialog");
        } else {
            return;
        }
        modal->setProperty("tourAnswered", true);
        QTimer::singleShot(0, modal, answer);
    }

    void trigger(const char* name) {
        QAction* action = window().findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(action != nullptr && action->isEnabled(), name);
        action->trigger();
    }
    // The window with one of its menus open, as the engineer sees it.
    void shootMenu(int index) {
        QAction* top = window().menuBar()->actions().at(index);
        const QPoint at = window().menuBar()->mapTo(
            &window(), window().menuBar()->actionGeometry(top).bottomLeft());
        top->menu()->popup(window().mapToGlobal(at));
        QVERIFY(QTest::qWaitForWindowExposed(top->menu()));
        QPixmap picture = window().grab();
        QPainter painter(&picture);
        painter.drawPixmap(at, top->menu()->grab());
        painter.end();
        QVERIFY(picture.save(test::shotPath(env_.path(), stepName_)));
        top->menu()->hide();
    }
    void start() {
        qelto_ = std::make_unique<app::QeltoApplication>(
            prompts_, QStringLiteral("qelto-tour-%1").arg(QCoreApplication::applicationPid()));
        QCOMPARE(qelto_->InitInstance({}), app::QeltoApplication::Start::Running);
        window().showNormal();
        window().resize(1366, 768);
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        // Every menu entry has its catalog text.
        for (QAction* top : window().menuBar()->actions()) {
            for (QAction* item : top->menu()->actions()) {
                QVERIFY2(item->isSeparator() || !item->text().startsWith(QLatin1Char('#')),
                         qPrintable(item->text()));
            }
        }
    }
    void usePort(const std::string& port) {
        context().settings.serPort = port;
        Q_EMIT window().serialPortChanged();
    }
    app::GlobalView* globalView() {
        auto* editor = qobject_cast<app::EditorPane*>(window().view(app::kEditorSlot));
        return editor != nullptr ? editor->globalView() : nullptr;
    }
    QString unitTime() {
        return globalView()->findChild<QLabel*>(QStringLiteral("unitTime"))->text();
    }
    QString statusUnit() {
        return window().findChild<QLabel*>(QStringLiteral("chosenUnit"))->text();
    }

  private Q_SLOTS:
    void initTestCase() {
        platform::Settings english;
        english.language = 1;
        QVERIFY(platform::SettingsStore().save(english));
        connect(&answerer_, &QTimer::timeout, this, [this] { answerModal(); });
        answerer_.start(50);
    }

    void aNewEngineersTour() {
        const std::filesystem::path dir = env_.path().toStdString();
        auto unit = test::SimProcess::withMemory(dir, QELTO_UNITSIM_PATH, test::unitMemory(),
                                                 {"--usage-seed", "7", "--usage-days", "30"});
        start();
        const QString port = QString::fromStdString(unit->portPath());
        usePort(unit->portPath());

        step(QStringLiteral("start"));
        QCOMPARE(window().currentViewIndex(), int(app::kStartViewSlot));
        shootWindow();

        step(QStringLiteral("find-units"));
        trigger("unitFind");
        QVERIFY2(statusUnit().startsWith(QStringLiteral("Unit 123456789 (")) &&
                     statusUnit().endsWith(QStringLiteral(") on ") + port),
                 qPrintable(statusUnit()));
        shootWindow();

        step(QStringLiteral("read"));
        trigger("unitRead");
        QCOMPARE(window().currentViewIndex(), int(app::kEditorSlot));
        QVERIFY(globalView()->isVisible());  // the unit-wide settings, where the clock is too
        QCOMPARE(globalView()->customerName1Edit()->text(), QStringLiteral("Hotel Sud"));
        // Once the unit has answered, the status bar names its model, not just the product.
        QCOMPARE(statusUnit(), QStringLiteral("Unit 123456789 (L4) on ") + port);
        shootWindow();

        step(QStringLiteral("edit"));
        prompts_.files = {env_.path() + QStringLiteral("/hotel-sud.qlf")};
        trigger("fileSaveAs");
        QVERIFY(!window().isWindowModified());
        QSpinBox* access = globalView()->accessCodeBox();
        access->selectAll();
        QTest::keyClicks(access, QStringLiteral("7"));
        QTest::keyClick(access, Qt::Key_Return);
        QVERIFY(window().isWindowModified());
        QCOMPARE(window().windowTitle(), QStringLiteral("hotel-sud.qlf[*] - Qelto"));
        shootWindow();

        step(QStringLiteral("write-verify"));
        messages_.clear();
        trigger("unitWrite");
        QVERIFY2(messages_.contains(text(comms::kMsgWriteDone) + QStringLiteral("\n\n") +
                                    text(comms::kMsgVerifyMatched)),
                 qPrintable(messages_.join(QLatin1Char('|'))));
        shootWindow();

        step(QStringLiteral("clock-read"));
        trigger("unitClockGet");
        QVERIFY2(unitTime().contains(QStringLiteral("/")), qPrintable(unitTime()));
        shootWindow();

        step(QStringLiteral("calibration"));
        trigger("unitPumpCalibration");
        QVERIFY(dialogShots_ > 0);
        shootWindow();

        step(QStringLiteral("usage-report"));
        trigger("unitReport");
        QCOMPARE(window().currentViewIndex(), int(app::kReportSlot));
        shootWindow();

        step(QStringLiteral("unit-history"));
        trigger("unitHistory");
        QVERIFY(dialogShots_ > 0);

        step(QStringLiteral("export"));
        const QString workbook = env_.path() + QStringLiteral("/hotel-sud.xlsx");
        prompts_.files = {workbook};
        trigger("reportExport");
        QVERIFY2(QFile::exists(workbook), qPrintable(prompts_.warned.join(QLatin1Char('\n'))));
        shootWindow();

        step(QStringLiteral("batch"));
        trigger("batchLogIn");
        trigger("batchSetup");
        QVERIFY(dialogShots_ >= 3);  // the log-in, again at the form, then the form
        shootWindow();

        // A unit that stops answering at the clock read: its time is not the last unit's either.
        step(QStringLiteral("clock-no-answer"));
        nlohmann::json mute = test::unitMemory();
        mute["serial"] = 555000111;
        // Silent after the scan's three requests and the read's poll and two unlocks.
        auto silent =
            test::SimProcess::withMemory(dir, QELTO_UNITSIM_PATH, mute, {"--silent-after", "6"});
        usePort(silent->portPath());
        trigger("unitFind");
        messages_.clear();
        trigger("unitClockGet");
        QVERIFY2(!messages_.join(QLatin1Char('|')).contains(QStringLiteral("NO RTC")),
                 qPrintable(messages_.join(QLatin1Char('|'))));  // it failed, it has a clock
        shootWindow();
        const QString noAnswerShown = unitTime();
        silent.reset();

        // A unit without a clock answers the clock read with no time.
        step(QStringLiteral("no-clock"));
        nlohmann::json noClock = test::unitMemory();
        noClock["clock"] = nullptr;
        noClock["serial"] = 987654321;
        auto clockless = test::SimProcess::withMemory(dir, QELTO_UNITSIM_PATH, noClock);
        usePort(clockless->portPath());
        trigger("unitFind");
        QVERIFY2(statusUnit().startsWith(QStringLiteral("Unit 987654321 (")),
                 qPrintable(statusUnit()));
        trigger("unitClockGet");
        shootWindow();
        const QString noClockShown = unitTime();
        clockless.reset();

        step(QStringLiteral("older-units-menu"));
        shootMenu(4);
        step(QStringLiteral("older-unit-form"));
        auto older = test::SimProcess::withMemory(
            dir, QELTO_UNITSIM_PATH,
            {{"version", "1.0.9"},
             {"password", 1234},
             {"config", {{"customerLines", {"Hotel Sud", ""}}, {"pumpSpeed", 90}}}},
            {"--kind", "legacy-laundry"});
        usePort(older->portPath());
        trigger("olderRead");
        QTRY_VERIFY_WITH_TIMEOUT(
            window().findChild<QDialog*>(QStringLiteral("olderUnitDialog")) == nullptr, 30000);
        QCOMPARE(window().currentViewIndex(), int(app::kLegacyFormSlot));
        shootWindow();
        older.reset();

        step(QStringLiteral("language"));
        trigger("languageSelect");
        QCOMPARE(context().settings.language, 4);
        QVERIFY(!prompts_.told.isEmpty());  // it says the language changes at the next start
        shootWindow();

        // The same window in German, at the next start.
        prompts_.answers = {app::Answer::No};
        QVERIFY(window().close());
        qelto_->ExitInstance();
        qelto_.reset();
        prefix_ = QStringLiteral("tour-de");
        step_ = 0;
        start();
        usePort(unit->portPath());
        step(QStringLiteral("start"));
        shootWindow();
        step(QStringLiteral("unit-menu"));
        shootMenu(2);
        step(QStringLiteral("find-units"));
        trigger("unitFind");
        shootWindow();
        step(QStringLiteral("read"));
        trigger("unitRead");
        QVERIFY(globalView()->isVisible());
        shootWindow();
        step(QStringLiteral("usage-report"));
        trigger("unitReport");
        shootWindow();
        step(QStringLiteral("unit-history"));
        trigger("unitHistory");
        QVERIFY(dialogShots_ > 0);
        prompts_.answers = {app::Answer::No};
        QVERIFY(window().close());
        qelto_->ExitInstance();
        qelto_.reset();
        QVERIFY(unit->stopAndDump().at("locked").get<bool>());

        QCOMPARE(noClockShown, QStringLiteral("** NO RTC Fitted **"));
        QCOMPARE(noAnswerShown, QStringLiteral("** NO RTC Fitted **"));
    }
};

QTEST_MAIN(TourTest)
#include "tour_test.moc"
